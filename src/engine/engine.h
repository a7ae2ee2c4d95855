// The script engine: the string stack, the numbered stores, the word table and
// ExecuteLine. One instance per program; tests make their own. No Qt here.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>

#include "pending_text.h"
#include "script_file.h"
#include "stack_slot.h"
#include "value.h"
#include "word_table.h"
#include "word_reference.h"

namespace engine {

// Thrown by a word that fails (a value that is no number, a division by zero,
// an index out of bounds). ExecuteLine catches it at that word; the line goes on.
struct Fault {};

enum class Memo { kEvents, kReceived, kSent };
enum class Cursor { kArrow, kHourglass };

// What the engine needs from the window. kvs and tests supply their own.
class Host {
 public:
  virtual ~Host() = default;
  virtual void ShowStatus(const std::string& /*text*/) {}
  // A complete memo log line (message, blank, stamp) for MemoEV, MemoTerminal
  // or MemoTerminalOut.
  virtual void AddMemoLine(Memo /*memo*/, const std::string& /*line*/) {}
  virtual void ShowCursor(Cursor /*cursor*/) {}
  // SET: show the settings panel and enable the tree, or hide and disable them.
  virtual void SetSettingsPanel(bool /*on*/) {}
};

// One call of ExecuteLine: its own pending text. Flow words change it.
struct Frame {
  PendingText pending;
};

// Long lines. While lines run, the engine calls Pulse() every kPulseWords
// words; the window keeps the link answering and the window painting there,
// and may stop the lines. A line entered while Pulse() runs does not run
// inside it: it is handed to Hold(), to be run once the lines have ended.
class LinePulse {
 public:
  virtual ~LinePulse() = default;
  virtual void Pulse() = 0;
  virtual void Hold(std::string line) = 0;
  // The outermost line has ended, and Pulse() ran while it did.
  virtual void LinesEnded() = 0;
};

class Engine {
 public:
  static constexpr int kStackSlots = 20;  // at most 19 values
  static constexpr int kCells = 257;
  static constexpr int kSavedCells = 129;
  static constexpr int kDimElements = 6144;
  // Lines nested deeper than this are refused (a row's line that runs
  // FORQUERY1 again, a timer line showing a message from inside a message):
  // the native stack must never run out.
  static constexpr int kMaxNesting = 32;

  explicit Engine(Host* host = nullptr);
  Engine(const Engine&) = delete;
  Engine& operator=(const Engine&) = delete;

  void SetHost(Host* host);
  Host& host() { return *host_; }

  // Word table: exact, case-sensitive byte names. AddWords registers a
  // list's rows with their entries in the reference (docs/words.md).
  void Register(const std::string& name, WordHandler handler);
  // Every registered name with its documentation, in registration order.
  const WordReference& reference() const { return reference_; }
  WordReference& reference() { return reference_; }
  bool HasWord(std::string_view name) const;
  // The handler registered under name, or an empty function.
  WordHandler FindWord(std::string_view name) const;

  // Runs one line. Re-entrant: nested calls share stack and stores. A line
  // nested more than kMaxNesting deep does not run; the status bar says so.
  void ExecuteLine(std::string_view text);
  // Told after every step of a line: a word run, a literal or a quoted group
  // pushed (kvs --trace). Null for none.
  using StepObserver = std::function<void(std::string_view step)>;
  void SetStepObserver(StepObserver observer) { step_observer_ = std::move(observer); }
  int nesting() const { return nesting_; }

  // Long lines (LinePulse). The counter costs one decrement a word.
  static constexpr int kPulseWords = 256;
  void SetPulse(LinePulse* pulse) { pulse_ = pulse; }
  // Outermost lines begun so far: tells one line's pulses from the next's.
  uint32_t line_serial() const { return line_serial_; }
  // Ends every running line at its next word, as a faulting word ends: what
  // the words did to the stores stays, the rest of the lines does not run, and
  // the stack is as the outermost line found it. Nothing while no line runs.
  void StopLines();
  bool stopping() const { return stopping_; }

  // Stack.
  void Push(Value value);
  void PushText(std::string_view text);
  // A number's text is written only when someone reads it as a text.
  void PushNumber(int32_t number) {
    Next().SetNumber(number);
    Pushed();
  }
  Value Pop();
  // Pop and convert; Fault when it is no number.
  int32_t PopNumber() {
    if (counter_ == 1) PopFromEmpty();
    int32_t n;
    if (!stack_[--counter_].ReadNumber(n)) throw Fault{};
    return n;
  }
  // The two top values as numbers, left where they are; false when either is
  // missing or no number.
  bool PeekTwoNumbers(int32_t& below, int32_t& top) const {
    return counter_ > 2 && stack_[counter_ - 1].ReadNumber(top) &&
           stack_[counter_ - 2].ReadNumber(below);
  }
  // The two top values replaced by one number: two pops and a push in one.
  void ReplaceTwo(int32_t number) { stack_[--counter_ - 1].SetNumber(number); }
  // Pop without reading the value.
  void Drop() {
    if (counter_ == 1) {
      Pop();  // the underflow message
      return;
    }
    --counter_;
  }
  void ClearStack() { counter_ = 1; }
  int Depth() const { return counter_ - 1; }
  // Slot 1 is the bottom value, slot Depth() the top one.
  const Value& StackValue(int slot) const { return stack_[slot].Text(); }
  void DumpStack();

  // Stores. Cell() maps -256..-1 to 0..255 and faults outside -256..256.
  Value& Cell(int32_t index);
  std::array<Value, kCells>& cells() { return cells_; }
  std::array<Value, kSavedCells>& saved_cells() { return saved_cells_; }
  std::array<int32_t, kDimElements>& dim() { return dim_; }

  bool busy() const { return busy_; }
  void set_busy(bool busy) { busy_ = busy; }
  // A line runs, at any depth: the busy flag goes when a nested line (a
  // FORQUERY1 row, a timer inside a dialog) ends, its outer line still runs.
  bool LineRunning() const { return busy_ || nesting_ > 0; }
  bool trace() const { return trace_; }
  // A loop running in place sees the trace begin at its next word.
  void set_trace(bool on) {
    trace_ = on;
    if (on) countdown_ = 1;
  }
  Cursor rest_cursor() const { return rest_cursor_; }
  void set_rest_cursor(Cursor cursor) { rest_cursor_ = cursor; }
  const std::string& base_dir() const { return base_dir_; }
  std::string TraceLogPath() const { return base_dir_ + "KVSmon.Log"; }

  // Diagnostics.
  void Trace(std::string_view text);
  void ForcedTrace(std::string_view text);
  void ShowStatus(const std::string& text) { host_->ShowStatus(text); }
  void LogEvent(std::string_view text) { LogTo(Memo::kEvents, text); }
  void LogReceived(std::string_view text) { LogTo(Memo::kReceived, text); }
  void LogSent(std::string_view text) { LogTo(Memo::kSent, text); }

  // The script file Setup.KVS and its cache.
  ScriptFile& script_file() { return script_file_; }
  // Valid until the next call.
  const std::string& LoadDefinition(const std::string& name);

 private:
  void LogTo(Memo memo, std::string_view text);
  // The next word, "NIL" after a group or between blanks, empty at the end
  // of the line. The view lasts until the pending text changes.
  std::string_view TakeWord(Frame& frame);
  // A loop's index or a word of its body at the front: taken and run as
  // TakeWord and Dispatch would, the index as a number and the word through
  // the handler found at its first iteration. False when the front is not
  // such (nothing taken).
  bool TakeFromLoop(Frame& frame);
  // The handler a word of a loop body resolved to; null for none.
  const Word* LoopWord(LoopToken& token, std::string_view word);
  void Run(const Word& handler, Frame& frame);
  std::string_view TakeGroup(Frame& frame, char first);
  void Dispatch(std::string_view word, Frame& frame);
  void RefuseLongLine(Frame& frame);
  // Every kPulseWords words: the pulse; false when the line must end.
  bool Checkpoint();
  // The outermost line has ended: the stop is over; LinesEnded() after pulses.
  void EndOutermostLine();

  Host default_host_;
  Host* host_;
  WordTable words_;
  WordReference reference_;
  StepObserver step_observer_;

  // The underflow message, then Fault: the empty text is no number.
  [[noreturn]] void PopFromEmpty();
  StackSlot& Next() { return stack_[counter_]; }
  // The value just written to the next slot is on the stack; a full stack drops it.
  void Pushed() {
    if (++counter_ > kStackSlots) Overflowed();
  }
  void Overflowed();

  std::array<StackSlot, kStackSlots + 1> stack_;  // slots 1..20, as the counter counts
  int counter_ = 1;
  std::array<StackSlot, kStackSlots + 1> line_start_stack_;  // as the outermost line found it
  int line_start_counter_ = 1;
  int nesting_ = 0;  // calls of ExecuteLine now running
  LinePulse* pulse_ = nullptr;
  int countdown_ = kPulseWords;  // words until the next checkpoint
  uint32_t line_serial_ = 0;
  bool in_pulse_ = false;
  bool pulsed_ = false;  // the pulse ran during the outermost line
  bool stopping_ = false;
  bool digit_words_ = false;  // a word's name begins with a digit
  uint32_t words_generation_ = 1;  // counts registrations
  std::array<Value, kCells> cells_;
  std::array<Value, kSavedCells> saved_cells_;
  std::array<int32_t, kDimElements> dim_{};

  bool busy_ = false;
  bool trace_ = false;
  Cursor rest_cursor_ = Cursor::kArrow;
  std::string base_dir_;
  ScriptFile script_file_;
};

// The rows of a list registered, each with its reference entry; bind makes
// a row's handler from its run.
template <class Context, class Bind>
void AddRows(Engine& engine, const WordList<Context>& list, Bind bind) {
  for (const WordRow<Context>& row : list.rows) {
    engine.reference().Describe(list.group, row.name, row.effect, row.description);
    engine.Register(row.name, bind(row.run));
  }
}
void AddWords(Engine& engine, const WordList<>& list);
// The context must outlive the engine's use of the words.
template <class Context>
void AddWords(Engine& engine, const WordList<Context>& list,
              std::type_identity_t<Context>& context) {
  AddRows(engine, list, [&context](typename WordRun<Context>::Type run) {
    return [run, &context](Engine& e, Frame& f) { run(context, e, f); };
  });
}
// A small context that each word keeps a copy of.
template <class Context>
void AddWords(Engine& engine, const WordList<Context>& list,
              std::type_identity_t<Context>&& context) {
  AddRows(engine, list, [&context](typename WordRun<Context>::Type run) {
    return [run, context](Engine& e, Frame& f) mutable { run(context, e, f); };
  });
}

// The words of the engine itself, group by group (>UTF8, UTF8> and UTF8?
// join the strings).
extern const WordList<> kControlFlowWords;
extern const WordList<> kArithmeticWords;
extern const WordList<> kStringWords;
extern const WordList<> kStoreWords;
extern const WordList<> kTimeWords;
extern const WordList<> kUtf8Words;
// All of them, in the order above.
void RegisterCoreWords(Engine& engine);
void DescribeCoreWords(WordReference& reference);

}  // namespace engine
