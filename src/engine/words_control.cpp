// RUN, FOR, IF, ELSE, FI, NIL, DROP, CLEARSTEK, DEBUG: flow works on the
// pending text of the line that dispatched the word.
#include "engine.h"
#include "messages.h"

namespace engine {
namespace {

// Takes one item off the front without running it; groups are never stop words.
std::string_view TakeItem(PendingText& pending) {
  const char first = pending.Front();
  if (first == '{') {
    pending.Cut("{", "}");
    return {};
  }
  if (first == '"' || first == '`') {
    const char quote[2] = {first, 0};
    const char closing[3] = {first, ' ', 0};
    pending.Cut(quote, closing);
    return {};
  }
  // Only the stop words matter; the cut piece does not outlive the trim.
  const std::string_view item = pending.CutWord();
  std::string_view stop;
  for (std::string_view word : {"IF", "FI", "ELSE"})
    if (item == word) stop = word;
  pending.TrimLeadingBlanks();
  return stop;
}

// Skips to the matching FI, or to the matching ELSE when stop_at_else is set.
void SkipBlock(PendingText& pending, bool stop_at_else) {
  int depth = 1;
  while (!pending.Empty()) {
    const std::string_view item = TakeItem(pending);
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

constexpr WordRow<> kControlFlowRows[] = {
    {"RUN", "name -- ?",
     "Runs the definition of that name from Setup.KVS in place; an unknown name runs nothing.",
     [](Engine& e, Frame& f) {
       Value name = e.Pop();
       const std::string& body = e.LoadDefinition(name);
       if (e.trace()) e.Trace(msg::kExecuting + name);
       if (!f.pending.Empty()) f.pending.Prepend(" ");
       f.pending.Prepend(body);
     }},
    {"FOR", "count body -- ?",
     "Runs the body count times, each time with its index 1..count pushed first.",
     [](Engine& e, Frame& f) {
       Value body = e.Pop();
       int32_t count = e.PopNumber();
       f.pending.PrependRepeat(body, count);
     }},
    {"IF", "flag --",
     "Runs the words up to ELSE or FI when flag is not 0, else skips to the matching ELSE or FI; a "
     "non-number counts as true.",
     [](Engine& e, Frame& f) {
       auto condition = ToNumber(e.Pop());
       if (condition && *condition == 0) SkipBlock(f.pending, true);
     }},
    {"ELSE", "--", "Ends the true branch of an IF: skips to the matching FI.",
     [](Engine&, Frame& f) { SkipBlock(f.pending, false); }},
    {"FI", "--", "Ends an IF block; does nothing itself.", [](Engine&, Frame&) {}},
    {"NIL", "--", "Does nothing.", [](Engine&, Frame&) {}},
    {"DROP", "x --", "Discards the top value.", [](Engine& e, Frame&) { e.Drop(); }},
    {"CLEARSTEK", "... --", "Empties the stack.", [](Engine& e, Frame&) { e.ClearStack(); }},
    {"DEBUG", "n --", "Switches the trace log KVSmon.Log on (n > 0) or off.",
     [](Engine& e, Frame&) { e.set_trace(e.PopNumber() > 0); }},
};

const WordList<> kControlFlowWords{"Control flow", kControlFlowRows};

}  // namespace engine
