#include "engine.h"

#include <cstdio>

#include "messages.h"

namespace engine {

Engine::Engine(Host* host) : host_(host ? host : &default_host_) {}

void Engine::SetHost(Host* host) { host_ = host ? host : &default_host_; }

void Engine::Register(const std::string& name, WordHandler handler) {
  words_.Set(name, std::move(handler));
  reference_.Note(name);
}

bool Engine::HasWord(std::string_view name) const { return words_.Find(name) != nullptr; }

WordHandler Engine::FindWord(std::string_view name) const {
  const WordHandler* handler = words_.Find(name);
  return handler ? *handler : WordHandler();
}

void Engine::ExecuteLine(std::string_view text) {
  if (nesting_ >= kMaxNesting) {
    ShowStatus(msg::kNestingTooDeep);
    Trace(msg::kNestingTooDeep);
    return;
  }
  struct Nesting {
    int& depth;
    ~Nesting() { --depth; }
  } nesting{++nesting_};
  Frame frame;
  frame.pending.Assign(text);
  busy_ = true;
  host_->ShowCursor(Cursor::kHourglass);
  if (trace_) Trace(msg::kExecutingLine + std::string(text));
  try {
    for (std::string_view word = TakeWord(frame); !word.empty(); word = TakeWord(frame)) {
      if (!step_observer_) {
        Dispatch(word, frame);
        continue;
      }
      const std::string step(word);
      Dispatch(step, frame);
      if (step != "NIL") step_observer_(step);
    }
  } catch (const LineTooLong&) {
    RefuseLongLine(frame);
  } catch (...) {
    // Only running out of memory gets here; the line ends, the exit still runs.
  }
  host_->ShowCursor(rest_cursor_);
  busy_ = false;
}

void Engine::Dispatch(std::string_view word, Frame& frame) {
  const WordHandler* handler = words_.Find(word);
  if (!handler) {
    if (trace_) Trace(msg::kToStack + std::string(word));
    Push(Value(word));
    return;
  }
  try {
    (*handler)(*this, frame);
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

std::string_view Engine::TakeWord(Frame& frame) {
  static constexpr std::string_view kNil = "NIL";
  PendingText& pending = frame.pending;
  if (pending.Empty()) return {};
  const char first = pending.Front();
  if (first == '{') {
    pending.Cut("{", "}");
    return kNil;
  }
  if (first == '"' || first == '`') {
    const char quote[2] = {first, 0};
    const char closing[3] = {first, ' ', 0};
    std::string_view piece = pending.Cut(quote, closing);
    if (trace_) Trace(msg::kToStack + std::string(piece));
    Push(Value(piece));
    if (step_observer_) step_observer_(std::string(quote) + std::string(piece) + quote);
    return kNil;
  }
  std::string_view word = pending.Cut("", " ");
  while (!word.empty() && word.back() == ' ') word.remove_suffix(1);
  if (trace_ && !word.empty() && word != kNil) {
    DumpStack();
    Trace(word);
  }
  if (word.empty() && !pending.Empty()) return kNil;
  return word;
}

void Engine::Push(Value value) {
  stack_[counter_] = std::move(value);
  ++counter_;
  if (counter_ > kStackSlots) {
    counter_ = kStackSlots;
    ShowStatus(msg::kStackOverflow);
    ForcedTrace(msg::kStackOverflow);
  }
}

Value Engine::Pop() {
  --counter_;
  if (counter_ == 0) {
    counter_ = 1;
    ShowStatus(msg::kStackUnderflow);
    ForcedTrace(msg::kStackUnderflow);
    return {};
  }
  return std::move(stack_[counter_]);
}

int32_t Engine::PopNumber() {
  auto n = ToNumber(Pop());
  if (!n) throw Fault{};
  return *n;
}

void Engine::DumpStack() {
  if (!trace_) return;
  std::string text;
  for (int slot = counter_ - 1; slot >= 1; --slot) {
    text += '"';
    text += stack_[slot];
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

std::string Engine::LoadDefinition(const std::string& name) {
  // The first RUN reads the file; when it gives no pages, the status bar says why.
  if (script_file_.Load() && script_file_.problem() != ScriptFile::Problem::kNone)
    ShowStatus(script_file_.ProblemText());
  std::string body = script_file_.Body(name);
  if (trace_) Trace(msg::kDefinition + body + msg::kDefinitionEnd);
  return body;
}

void RegisterCoreWords(Engine& engine) {
  RegisterControlFlowWords(engine);
  RegisterArithmeticWords(engine);
  RegisterStringWords(engine);
  RegisterStoreWords(engine);
  RegisterTimeWords(engine);
  RegisterUtf8Words(engine);
}

}  // namespace engine
