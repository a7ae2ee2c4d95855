#include "engine.h"

#include <cstdio>

#include "messages.h"

namespace engine {

Engine::Engine(Host* host) : host_(host ? host : &default_host_) {}

void Engine::SetHost(Host* host) { host_ = host ? host : &default_host_; }

void Engine::Register(const std::string& name, WordHandler handler) {
  words_[name] = std::move(handler);
}

bool Engine::HasWord(std::string_view name) const {
  return words_.count(std::string(name)) != 0;
}

WordHandler Engine::FindWord(std::string_view name) const {
  auto it = words_.find(std::string(name));
  return it == words_.end() ? WordHandler() : it->second;
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
  if (nesting_ == 0) ++line_serial_;
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
  std::string word;
  try {
    for (;;) {
      if (!word.empty()) Dispatch(word, frame);
      if (--countdown_ <= 0 && !Checkpoint()) break;
      word = TakeWord(frame);
      if (word.empty()) break;
    }
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

void Engine::Dispatch(const std::string& word, Frame& frame) {
  auto it = words_.find(word);
  if (it == words_.end()) {
    if (trace_) Trace(msg::kToStack + word);
    Push(word);
    return;
  }
  try {
    it->second(*this, frame);
  } catch (...) {
    // A failing word ends silently; the line goes on.
  }
}

std::string Engine::TakeWord(Frame& frame) {
  PendingText& pending = frame.pending;
  if (pending.Empty()) return {};
  const char first = pending.Front();
  if (first == '{') {
    pending.CutBetween("{", "}");
    return "NIL";
  }
  if (first == '"' || first == '`') {
    const char quote[2] = {first, 0};
    const char closing[3] = {first, ' ', 0};
    std::string piece = pending.CutBetween(quote, closing);
    if (trace_) Trace(msg::kToStack + piece);
    Push(std::move(piece));
    return "NIL";
  }
  std::string word = pending.CutBetween("", " ");
  while (!word.empty() && word.back() == ' ') word.pop_back();
  if (!word.empty() && word != "NIL") {
    DumpStack();
    Trace(word);
  }
  if (word.empty() && !pending.Empty()) return "NIL";
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
}

}  // namespace engine
