#include "engine.h"

#include <cstdio>

#include "messages.h"

namespace engine {
namespace {

constexpr std::string_view kNil = "NIL";

}  // namespace

Engine::Engine(Host* host) : host_(host ? host : &default_host_) {}

void Engine::SetHost(Host* host) { host_ = host ? host : &default_host_; }

void Engine::Register(const std::string& name, WordHandler handler) {
  words_.Set(name, std::move(handler));
  if (!name.empty() && name[0] >= '0' && name[0] <= '9') digit_words_ = true;
  ++words_generation_;  // loop words resolve again
  reference_.Note(name);
}

bool Engine::HasWord(std::string_view name) const { return words_.Find(name) != nullptr; }

WordHandler Engine::FindWord(std::string_view name) const {
  const Word* word = words_.Find(name);
  return word ? word->handler : WordHandler();
}

void Engine::ExecuteLine(std::string_view text) {
  if (in_pulse_) {
    // No line runs inside another through the pulse (a timer, a record).
    pulse_->Hold(std::string(text));
    return;
  }
  if (stopping_) return;
  if (nesting_ >= kMaxNesting) {
    ShowStatus(msg::kNestingTooDeep);
    Trace(msg::kNestingTooDeep);
    return;
  }
  if (nesting_ == 0) {
    ++line_serial_;
    for (int i = 1; i < counter_; ++i) line_start_stack_[i].CopyValue(stack_[i]);
    line_start_counter_ = counter_;
  }
  struct Nesting {
    Engine& engine;
    ~Nesting() {
      if (--engine.nesting_ == 0) engine.EndOutermostLine();
    }
  } nesting{*this};
  ++nesting_;
  Frame frame;
  frame.pending.Assign(text);
  busy_ = true;
  host_->ShowCursor(Cursor::kHourglass);
  if (trace_) Trace(msg::kExecutingLine + std::string(text));
  try {
    for (;;) {
      if (TakeFromLoop(frame)) {
        if (--countdown_ <= 0 && !Checkpoint()) break;
        continue;
      }
      const std::string_view word = TakeWord(frame);
      if (word.empty()) break;
      if (!step_observer_) {
        Dispatch(word, frame);
      } else {
        const std::string step(word);
        Dispatch(step, frame);
        if (step != "NIL") step_observer_(step);
      }
      if (--countdown_ <= 0 && !Checkpoint()) break;
    }
  } catch (const LineTooLong&) {
    RefuseLongLine(frame);
  } catch (...) {
    // Only running out of memory gets here; the line ends, the exit still runs.
  }
  host_->ShowCursor(rest_cursor_);
  busy_ = false;
}

bool Engine::Checkpoint() {
  countdown_ = kPulseWords;
  if (pulse_ != nullptr && !stopping_) {
    pulsed_ = true;
    in_pulse_ = true;
    try {
      pulse_->Pulse();
    } catch (...) {
    }
    in_pulse_ = false;
  }
  if (!stopping_) return true;
  countdown_ = 1;  // the lines around this one end at their next word too
  return false;
}

void Engine::StopLines() {
  if (nesting_ == 0) return;
  stopping_ = true;
  countdown_ = 1;
}

void Engine::EndOutermostLine() {
  if (stopping_) {
    // A stopped line leaves no half-done results behind: the next one would
    // find them, and repeated stops would fill the stack.
    for (int i = 1; i < line_start_counter_; ++i) stack_[i].CopyValue(line_start_stack_[i]);
    counter_ = line_start_counter_;
  }
  stopping_ = false;
  countdown_ = kPulseWords;
  if (!pulsed_) return;
  pulsed_ = false;
  if (pulse_ == nullptr) return;
  try {
    pulse_->LinesEnded();
  } catch (...) {
  }
}

void Engine::Dispatch(std::string_view word, Frame& frame) {
  const Word* handler = words_.Find(word);
  if (!handler) {
    if (trace_) Trace(msg::kToStack + std::string(word));
    PushText(word);
    return;
  }
  Run(*handler, frame);
}

void Engine::Run(const Word& handler, Frame& frame) {
  try {
    handler(*this, frame);
  } catch (const LineTooLong&) {
    RefuseLongLine(frame);
  } catch (...) {
    // A failing word ends silently; the line goes on.
  }
}

// The pending text has emptied itself: the rest of the line is not run.
void Engine::RefuseLongLine(Frame& frame) {
  frame.pending.Clear();
  ShowStatus(msg::kLineTooLong);
}

bool Engine::TakeFromLoop(Frame& frame) {
  // Traced lines show every word as it is taken.
  if (trace_ || step_observer_) return false;
  PendingText& pending = frame.pending;
  // Step after step here while the loop runs alone; ExecuteLine counts the
  // last step.
  // A step observer is set before lines run; tracing that begins inside a
  // word ends the countdown (set_trace).
  const auto more = [this] {
    if (countdown_ <= 1) return false;
    --countdown_;
    return true;
  };
  // A word that fails is handled as Run handles it, by the one try below
  // instead of a call to Run with a try of its own for every word.
  bool in_word = false;
  const auto run_word = [this, &frame, &in_word](LoopToken& token, std::string_view word) {
    if (const Word* handler = LoopWord(token, word)) {
      in_word = true;
      (*handler)(*this, frame);
      in_word = false;
    } else {
      PushText(word);
    }
  };
  try {
    if (!digit_words_ && pending.RunLoop([this](int32_t index) { PushNumber(index); }, run_word, more))
      return true;
    int32_t index;
    if (!digit_words_ && pending.TakeLoopIndex(index)) {
      PushNumber(index);
      return true;
    }
    std::string_view word;
    LoopToken* token = pending.TakeLoopToken(word);
    if (!token) return false;
    run_word(*token, word);
  } catch (const LineTooLong&) {
    if (!in_word) throw;
    RefuseLongLine(frame);
  } catch (...) {
    if (!in_word) throw;
    // A failing word ends silently; the line goes on.
  }
  return true;
}

const Word* Engine::LoopWord(LoopToken& token, std::string_view word) {
  if (token.generation != words_generation_) {
    token.word = words_.Find(word);
    token.generation = words_generation_;
  }
  return static_cast<const Word*>(token.word);
}

std::string_view Engine::TakeWord(Frame& frame) {
  PendingText& pending = frame.pending;
  const std::string_view head = pending.Head();
  if (head.empty()) return {};
  const char first = head[0];
  if (first == '{' || first == '"' || first == '`') return TakeGroup(frame, first);
  std::string_view word = pending.CutWord();
  if (word.empty()) return pending.Empty() ? word : kNil;
  while (!word.empty() && word.back() == ' ') word.remove_suffix(1);
  if (trace_ && word != kNil) {
    DumpStack();
    Trace(word);
  }
  return word;
}

// A comment is dropped; a quoted group is pushed as one literal.
std::string_view Engine::TakeGroup(Frame& frame, char first) {
  if (first == '{') {
    frame.pending.Cut("{", "}");
    return kNil;
  }
  const char quote[2] = {first, 0};
  const char closing[3] = {first, ' ', 0};
  const std::string_view piece = frame.pending.Cut(quote, closing);
  if (trace_) Trace(msg::kToStack + std::string(piece));
  PushText(piece);
  if (step_observer_) step_observer_(std::string(quote) + std::string(piece) + quote);
  return kNil;
}

void Engine::Overflowed() {
  counter_ = kStackSlots;
  ShowStatus(msg::kStackOverflow);
  ForcedTrace(msg::kStackOverflow);
}

void Engine::Push(Value value) {
  Next().SetText(std::move(value));
  Pushed();
}

void Engine::PushText(std::string_view text) {
  Next().SetText(text);
  Pushed();
}

Value Engine::Pop() {
  --counter_;
  if (counter_ == 0) {
    counter_ = 1;
    ShowStatus(msg::kStackUnderflow);
    ForcedTrace(msg::kStackUnderflow);
    return {};
  }
  return stack_[counter_].Take();
}

void Engine::PopFromEmpty() {
  Pop();
  throw Fault{};
}

void Engine::DumpStack() {
  if (!trace_) return;
  std::string text;
  for (int slot = counter_ - 1; slot >= 1; --slot) {
    text += '"';
    text += stack_[slot].Text();
    text += "\" ";
  }
  Trace(msg::kStack + text);
}

Value& Engine::Cell(int32_t index) {
  if (index < -256 || index > 256) throw Fault{};
  return cells_[index < 0 ? index + 256 : index];
}

void Engine::Trace(std::string_view text) {
  if (!trace_) return;
  // Append, creating a missing file; an existing log is never truncated.
  std::FILE* file = std::fopen(TraceLogPath().c_str(), "ab");
  if (!file) return;
  std::fwrite(text.data(), 1, text.size(), file);
  std::fwrite("\r\n", 1, 2, file);
  std::fclose(file);
}

void Engine::ForcedTrace(std::string_view text) {
  bool was = trace_;
  trace_ = true;
  Trace(text);
  trace_ = was;
}

void Engine::LogTo(Memo memo, std::string_view text) {
  std::string line(text);
  line += ' ';
  line += MemoStamp();
  host_->AddMemoLine(memo, line);
}

const std::string& Engine::LoadDefinition(const std::string& name) {
  // The first RUN reads the file; when it gives no pages, the status bar says why.
  if (script_file_.Load() && script_file_.problem() != ScriptFile::Problem::kNone)
    ShowStatus(script_file_.ProblemText());
  const std::string& body = script_file_.Body(name);
  if (trace_) Trace(msg::kDefinition + body + msg::kDefinitionEnd);
  return body;
}

void AddWords(Engine& engine, const WordList<>& list) {
  AddRows(engine, list, [](WordRun<void>::Type run) { return run; });
}

namespace {

const WordList<>* const kCoreWords[] = {&kControlFlowWords, &kArithmeticWords, &kStringWords,
                                        &kStoreWords,       &kTimeWords,       &kUtf8Words};

}  // namespace

void RegisterCoreWords(Engine& engine) {
  for (const WordList<>* list : kCoreWords) AddWords(engine, *list);
}

void DescribeCoreWords(WordReference& reference) {
  for (const WordList<>* list : kCoreWords) DescribeWords(reference, *list);
}

}  // namespace engine
