#include "checker.h"

#include <algorithm>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <unordered_map>

#include "cp1251.h"
#include "definitions.h"
#include "script_text.h"
#include "stack_depth.h"
#include "suggest.h"
#include "value.h"

namespace check {
namespace {

bool IsNumber(const std::string& text) { return engine::ToNumber(text).has_value(); }

// Which argument of a word is a script, counted from the top of the stack,
// and whether the program runs it with a blank after it (bodies put in front
// of the line) or as a line of its own (event lines).
struct ScriptArgument {
  int from_top = 0;
  bool body = false;
};

std::optional<ScriptArgument> ScriptArgumentOf(const engine::WordEntry& entry) {
  const std::string& effect = entry.doc.effect;
  const size_t bar = effect.find("--");
  if (bar == std::string::npos) return std::nullopt;
  std::vector<std::string> items;
  std::string item;
  for (char c : effect.substr(0, bar)) {
    if (c == ' ') {
      if (!item.empty()) items.push_back(item);
      item.clear();
    } else {
      item += c;
    }
  }
  if (!item.empty()) items.push_back(item);
  for (size_t i = 0; i < items.size(); ++i) {
    if (items[i] == "line" || items[i] == "body")
      return ScriptArgument{static_cast<int>(items.size() - 1 - i), items[i] == "body"};
  }
  return std::nullopt;
}

class Checker {
 public:
  Checker(std::string_view file, const engine::WordReference& words)
      : file_(file), words_(words), lines_(file) {}

  std::vector<Problem> Run();

 private:
  void Report(size_t offset, Severity severity, std::string message) {
    problems_.push_back(Problem{lines_.LineOf(offset), severity, std::move(message)});
  }
  bool Defined(const std::string& name) const {
    return first_.count(name) != 0 || engine::FindDefinition(file_, name);
  }
  bool IsLiteral(const Token& token) const {
    return token.kind == TokenKind::kQuoted ||
           (token.kind == TokenKind::kWord && !words_.Find(token.text));
  }
  std::string Hint(const std::string& name, bool definitions_only) const;

  void FindDefinitionsAndMentions();
  // Checks a definition body or an event line; `base` is the file offset of
  // the text's first byte, `where` names it in messages.
  void CheckText(const std::string& text, size_t base, bool line_end_blank,
                 const std::string& where, bool starts_empty);
  void CheckWord(const std::vector<Token>& tokens, size_t i, size_t base, const std::string& where);
  void CheckBlocks(const std::vector<Token>& tokens, size_t base, const std::string& where);
  void CheckCalledDefinitions();
  void CheckNeverRun();

  std::string_view file_;
  const engine::WordReference& words_;
  LineMap lines_;
  std::vector<Definition> definitions_;
  std::map<std::string, const Definition*> first_;
  std::set<std::string> mentioned_;
  std::vector<std::string> definition_names_;
  std::vector<std::string> word_and_definition_names_;
  std::unique_ptr<StackDepth> stack_;
  std::vector<Problem> problems_;
};

std::string Checker::Hint(const std::string& name, bool definitions_only) const {
  const std::string nearest =
      NearestName(name, definitions_only ? definition_names_ : word_and_definition_names_);
  return nearest.empty() ? std::string() : "; did you mean " + nearest + "?";
}

void Checker::FindDefinitionsAndMentions() {
  definitions_ = FindDefinitions(file_);
  for (const Definition& d : definitions_) {
    if (first_.emplace(d.name, &d).second) definition_names_.push_back(d.name);
    if (d.run_offset != d.name_line_offset)
      Report(d.name_line_offset, Severity::kWarning,
             "definition " + d.name + " is defined again; RUN uses the one at line " +
                 std::to_string(lines_.LineOf(d.run_offset)));
    // A name anywhere in another body may be run from there, directly or
    // through a cell or an event line.
  }
  for (const auto& [defined, d] : first_) {
    const std::string& own = defined;  // a lambda cannot capture a binding
    std::string piece;
    auto flush = [&] {
      if (!piece.empty() && piece != own) mentioned_.insert(piece);
      piece.clear();
    };
    for (char c : d->body) {
      if (c == ' ' || c == '"' || c == '`' || c == '{' || c == '}') {
        flush();
      } else {
        piece += c;
      }
    }
    flush();
  }
  word_and_definition_names_ = definition_names_;
  for (const engine::WordEntry& entry : words_.entries())
    word_and_definition_names_.push_back(entry.name);
}

void Checker::CheckWord(const std::vector<Token>& tokens, size_t i, size_t base,
                        const std::string& where) {
  const Token& token = tokens[i];
  const size_t at = base + token.offset;
  const engine::WordEntry* entry = words_.Find(token.text);
  const bool before_run = i + 1 < tokens.size() && tokens[i + 1].kind == TokenKind::kWord &&
                          tokens[i + 1].text == "RUN";
  if (!entry) {
    if (IsNumber(token.text) || Defined(token.text) || before_run) return;
    Report(at, Severity::kError, where + "unknown word " + token.text + Hint(token.text, false));
    return;
  }
  if (token.text == "RUN" && i > 0 && IsLiteral(tokens[i - 1])) {
    const std::string& name = tokens[i - 1].text;
    if (!name.empty() && !Defined(name))
      Report(base + tokens[i - 1].offset, Severity::kError,
             where + "RUN of " + name + ": no such definition" + Hint(name, true));
    return;
  }
  const std::optional<ScriptArgument> script = ScriptArgumentOf(*entry);
  if (!script) return;
  // The script is the literal that many places below the top, when the
  // values above it are literals too.
  size_t back = i;
  for (int k = 0; k <= script->from_top; ++k) {
    do {
      if (back == 0) return;
      --back;
    } while (tokens[back].kind == TokenKind::kComment);
    if (!IsLiteral(tokens[back]) || !tokens[back].closed) return;
  }
  const Token& line = tokens[back];
  const size_t line_base = base + line.offset + (line.kind == TokenKind::kQuoted ? 1 : 0);
  CheckText(line.text, line_base, script->body,
            where + "in the " + token.text + " script: ", false);
}

void Checker::CheckBlocks(const std::vector<Token>& tokens, size_t base, const std::string& where) {
  struct Open {
    size_t offset;
    bool has_else;
  };
  std::vector<Open> open;
  for (const Token& token : tokens) {
    if (token.kind != TokenKind::kWord) continue;
    const size_t at = base + token.offset;
    if (token.text == "IF") {
      open.push_back({at, false});
    } else if (token.text == "ELSE") {
      if (open.empty()) {
        Report(at, Severity::kError, where + "ELSE without IF");
      } else if (open.back().has_else) {
        Report(at, Severity::kError, where + "second ELSE in one IF block");
      } else {
        open.back().has_else = true;
      }
    } else if (token.text == "FI") {
      if (open.empty()) {
        Report(at, Severity::kError, where + "FI without IF");
      } else {
        open.pop_back();
      }
    }
  }
  for (const Open& o : open)
    Report(o.offset, Severity::kError,
           where + "IF without FI: when it is false the rest of the line is skipped");
}

void Checker::CheckText(const std::string& text, size_t base, bool line_end_blank,
                        const std::string& where, bool starts_empty) {
  const std::vector<Token> tokens = Tokenize(text, line_end_blank);
  for (size_t i = 0; i < tokens.size(); ++i) {
    const Token& token = tokens[i];
    if (!token.closed) {
      const size_t at = base + token.offset;
      if (token.quote == '{') {
        Report(at, Severity::kError, where + "{ is never closed by }");
      } else {
        std::string q(1, token.quote);
        Report(at, Severity::kError,
               where + "unclosed " + q + ": a group ends at " + q + " followed by a blank");
      }
      continue;
    }
    if (token.kind == TokenKind::kWord) CheckWord(tokens, i, base, where);
  }
  CheckBlocks(tokens, base, where);
  for (const StackDepth::Finding& f : stack_->Check(tokens, starts_empty))
    Report(base + f.offset, Severity::kWarning, where + f.message);
}

void Checker::CheckCalledDefinitions() {
  for (const CalledDefinition& called : CalledDefinitions()) {
    if (Defined(called.name)) continue;
    const std::string hint = Hint(called.name, true);
    Report(0, called.required ? Severity::kError : Severity::kNote,
           "no definition " + called.name + ", which the program runs " + called.when + hint);
  }
}

// What zelt-provision runs on each device of a bench; a script may do without.
constexpr std::string_view kProvisionRuns[] = {"PROVISION_IDENTIFY", "PROVISION_READ",
                                               "PROVISION_WRITE", "PROVISION_COMPARE"};

void Checker::CheckNeverRun() {
  for (const auto& [name, d] : first_) {
    if (mentioned_.count(name)) continue;
    bool called = false;
    for (const CalledDefinition& c : CalledDefinitions()) called = called || name == c.name;
    for (std::string_view provision : kProvisionRuns) called = called || name == provision;
    if (!called)
      Report(d->name_line_offset, Severity::kWarning,
             "definition " + name + " is never run from anywhere");
  }
}

std::vector<Problem> Checker::Run() {
  FindDefinitionsAndMentions();
  stack_ = std::make_unique<StackDepth>(words_, first_);
  if (definitions_.empty() && file_.find('\n') != std::string_view::npos &&
      file_.find("\r\n") == std::string_view::npos) {
    Report(0, Severity::kError, "lines end in LF only; name lines need CR LF to be found");
  }
  for (const auto& [name, d] : first_) {
    const std::string where = name + ": ";
    if (d->unclosed_group) {
      std::string q(1, d->unclosed_group);
      Report(d->unclosed_offset, Severity::kError,
             where + q + " is never closed before the ending ;, so the definition is empty");
    } else if (!d->closed) {
      Report(d->name_line_offset, Severity::kError,
             where + "no ; ends the definition, so it is empty");
    } else {
      CheckText(d->body, d->body_offset, true, where, name == "START");
    }
  }
  CheckCalledDefinitions();
  CheckNeverRun();
  std::stable_sort(problems_.begin(), problems_.end(),
                   [](const Problem& a, const Problem& b) { return a.line < b.line; });
  return std::move(problems_);
}

}  // namespace

const std::vector<CalledDefinition>& CalledDefinitions() {
  static const std::vector<CalledDefinition> kCalled = {
      {"START", "at start-up when a device port was found", true},
      {"MAIN", engine::Cp1251("for the button \"Чтение из устройства\""), true},
      {"MAINS", engine::Cp1251("for the button \"Запись в устройство\""), true},
      {"TREECLICK", "at every click on a tree node", true},
      {"WAIT", "at a click while the device wait is armed", true},
      {"ONSTARTWAIT", "when a device wait begins", true},
      {"ONSTOPWAIT", "when a device wait ends", true},
      {"CLOSEQUERY", "before the window closes (0 on top keeps it open)", false},
      {"ONCONNECT", "when the device answers after no answer (the pages read it then)", false},
      {"ONLINKLOST", "when the link of a running device wait is lost (its rest is dropped)",
       false},
      {"ONCANCEL",
       "when a device wait is given up (reason on top: 1 the operator)",
       false},
  };
  return kCalled;
}

std::vector<Problem> CheckScript(std::string_view file, const engine::WordReference& words) {
  return Checker(file, words).Run();
}

std::string FormatProblem(const std::string& file, const Problem& problem) {
  const char* kind = problem.severity == Severity::kError     ? "error"
                     : problem.severity == Severity::kWarning ? "warning"
                                                              : "note";
  return file + ":" + std::to_string(problem.line) + ": " + kind + ": " + problem.message;
}

int CountFaults(const std::vector<Problem>& problems) {
  return static_cast<int>(std::count_if(problems.begin(), problems.end(), [](const Problem& p) {
    return p.severity != Severity::kNote;
  }));
}

}  // namespace check
