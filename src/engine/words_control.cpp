// RUN, FOR, IF, ELSE, FI, NIL, DROP, CLEARSTEK, DEBUG: flow works on the
// pending text of the line that dispatched the word.
#include "engine.h"
#include "messages.h"

namespace engine {
namespace {

// A runaway definition that runs itself without end would grow the pending
// text until memory is gone; stop the line well before that.
constexpr size_t kPendingLimit = size_t{64} << 20;

void InsertFront(Engine& e, Frame& f, std::string_view text) {
  if (f.pending.Size() + text.size() > kPendingLimit) {
    f.pending.Clear();
    e.ShowStatus(msg::kLineTooLong);
    throw Fault{};
  }
  f.pending.Prepend(text);
}

// Takes one item off the front without running it; groups are never stop words.
std::string TakeItem(PendingText& pending) {
  const char first = pending.Front();
  if (first == '{') {
    pending.CutBetween("{", "}");
    return {};
  }
  if (first == '"' || first == '`') {
    const char quote[2] = {first, 0};
    const char closing[3] = {first, ' ', 0};
    pending.CutBetween(quote, closing);
    return {};
  }
  std::string item = pending.CutBetween("", " ");
  pending.TrimLeadingBlanks();
  return item;
}

// Skips to the matching FI, or to the matching ELSE when stop_at_else is set.
void SkipBlock(PendingText& pending, bool stop_at_else) {
  int depth = 1;
  while (!pending.Empty()) {
    std::string item = TakeItem(pending);
    if (item == "IF") {
      ++depth;
    } else if (item == "FI") {
      if (--depth == 0) return;
    } else if (item == "ELSE" && stop_at_else && depth == 1) {
      return;
    }
  }
}

}  // namespace

void RegisterControlFlowWords(Engine& engine) {
  engine::WordGroup group(engine, "Control flow");
  engine.Document("RUN", "name -- ?",
                  "Runs the definition of that name from Setup.KVS in place; an unknown name "
                  "runs nothing.");
  engine.Register("RUN", [](Engine& e, Frame& f) {
    Value name = e.Pop();
    std::string body = e.LoadDefinition(name);
    if (e.trace()) e.Trace(msg::kExecuting + name);
    if (!f.pending.Empty()) InsertFront(e, f, " ");
    InsertFront(e, f, body);
  });
  engine.Document("FOR", "count body -- ?",
                  "Runs the body count times, each time with its index 1..count pushed first.");
  engine.Register("FOR", [](Engine& e, Frame& f) {
    Value body = e.Pop();
    int32_t count = e.PopNumber();
    std::string text;
    if (count > 0) {
      size_t each = body.size() + 13;
      if (static_cast<size_t>(count) * each + f.pending.Size() > kPendingLimit) {
        f.pending.Clear();
        e.ShowStatus(msg::kLineTooLong);
        throw Fault{};
      }
      text.reserve(static_cast<size_t>(count) * each + 1);
      for (int32_t i = 1; i <= count; ++i) {
        text += ' ';
        text += NumberToText(i);
        text += ' ';
        text += body;
      }
    }
    text += ' ';
    InsertFront(e, f, text);
  });
  engine.Document("IF", "flag --",
                  "Runs the words up to ELSE or FI when flag is not 0, else skips to the "
                  "matching ELSE or FI; a non-number counts as true.");
  engine.Register("IF", [](Engine& e, Frame& f) {
    auto condition = ToNumber(e.Pop());
    if (condition && *condition == 0) SkipBlock(f.pending, true);
  });
  engine.Document("ELSE", "--", "Ends the true branch of an IF: skips to the matching FI.");
  engine.Register("ELSE", [](Engine&, Frame& f) { SkipBlock(f.pending, false); });
  engine.Document("FI", "--", "Ends an IF block; does nothing itself.");
  engine.Register("FI", [](Engine&, Frame&) {});
  engine.Document("NIL", "--", "Does nothing.");
  engine.Register("NIL", [](Engine&, Frame&) {});
  engine.Document("DROP", "x --", "Discards the top value.");
  engine.Register("DROP", [](Engine& e, Frame&) { e.Pop(); });
  engine.Document("CLEARSTEK", "... --", "Empties the stack.");
  engine.Register("CLEARSTEK", [](Engine& e, Frame&) { e.ClearStack(); });
  engine.Document("DEBUG", "n --", "Switches the trace log KVSmon.Log on (n > 0) or off.");
  engine.Register("DEBUG", [](Engine& e, Frame&) { e.set_trace(e.PopNumber() > 0); });
}

}  // namespace engine
