#include "script_text.h"

#include <algorithm>

#include "definitions.h"

namespace check {

std::vector<Definition> FindDefinitions(std::string_view file) {
  std::vector<Definition> definitions;
  for (const size_t colon : engine::NameLines(file)) {
    Definition d;
    d.name_line_offset = colon;
    d.name = std::string(file.substr(colon + 1, file.find('\r', colon) - colon - 1));
    const engine::DefinitionPlace run = *engine::FindDefinition(file, d.name);
    d.run_offset = run.name_offset;
    d.body_offset = run.body_offset;
    d.closed = run.closed;
    d.unclosed_group = run.unclosed_group;
    d.unclosed_offset = run.unclosed_offset;
    if (run.closed) {
      d.body = std::string(file.substr(run.body_offset, run.end - run.body_offset));
      std::replace(d.body.begin(), d.body.end(), '\r', ' ');
      std::replace(d.body.begin(), d.body.end(), '\n', ' ');
    }
    definitions.push_back(std::move(d));
  }
  return definitions;
}

std::vector<Token> Tokenize(std::string_view text, bool line_end_blank) {
  std::vector<Token> tokens;
  size_t at = 0;
  while (at < text.size()) {
    const char first = text[at];
    if (first == ' ') {
      ++at;
      continue;
    }
    Token token;
    token.offset = at;
    if (first == '{' || first == '"' || first == '`') {
      token.kind = first == '{' ? TokenKind::kComment : TokenKind::kQuoted;
      token.quote = first;
      const char closer = first == '{' ? '}' : first;
      size_t search = at + 1;
      size_t close = std::string_view::npos;
      for (;;) {
        close = text.find(closer, search);
        if (close == std::string_view::npos || first == '{') break;
        const bool blank_after = close + 1 < text.size() ? text[close + 1] == ' ' : line_end_blank;
        if (blank_after) break;
        search = close + 1;
      }
      if (close == std::string_view::npos) {
        // The engine drops the opener (and one more character after a quote)
        // and reads on; the checker reports it and stops reading this text.
        token.closed = false;
        token.text = std::string(text.substr(at + 1));
        tokens.push_back(std::move(token));
        break;
      }
      token.text = std::string(text.substr(at + 1, close - at - 1));
      tokens.push_back(std::move(token));
      at = close + 1;
      continue;
    }
    size_t end = text.find(' ', at);
    if (end == std::string_view::npos) end = text.size();
    token.text = std::string(text.substr(at, end - at));
    tokens.push_back(std::move(token));
    at = end;
  }
  return tokens;
}

LineMap::LineMap(std::string_view file) {
  line_starts_.push_back(0);
  for (size_t i = 0; i < file.size(); ++i)
    if (file[i] == '\n') line_starts_.push_back(i + 1);
}

int LineMap::LineOf(size_t offset) const {
  auto it = std::upper_bound(line_starts_.begin(), line_starts_.end(), offset);
  return static_cast<int>(it - line_starts_.begin());
}

}  // namespace check
