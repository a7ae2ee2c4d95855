// The unconsumed rest of a line. Taking words from the front costs O(1) per
// word and putting a body in front costs O(body). A FOR loop is not written
// out: its iterations are produced one at a time as the front reaches them,
// so a loop holds its body once whatever its count, and every reader of the
// rest (words, groups, IF skipping) sees the same text the written-out loop
// would have been.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace engine {

// One word of a loop body, split once for all iterations. The engine keeps
// what the word resolves to with it.
struct LoopToken {
  uint32_t at = 0;  // in the body
  uint32_t size = 0;
  const void* word = nullptr;  // the engine's, valid while generation matches
  uint32_t generation = 0;
};

// Thrown when the pending text would hold more than PendingText::kLimit bytes
// (a definition that runs itself without end); the text is emptied first.
struct LineTooLong {};

class PendingText {
 public:
  static constexpr size_t kLimit = size_t{64} << 20;

  PendingText() = default;
  explicit PendingText(std::string_view text) { Assign(text); }

  bool Empty() { return !Normalize(); }
  // The first character; the text must not be empty.
  char Front() {
    Normalize();
    const Segment& top = segments_.back();
    return top.text[top.start];
  }

  void Assign(std::string_view text);  // these change the text: Touch()
  void Clear();
  // Puts text in front of what is pending.
  void Prepend(std::string_view text);
  // Puts in front what FOR repeats: a blank, then for each i from 1 to count
  // the number i, a blank, the body and a blank; a count below 1 gives the
  // blank alone.
  void PrependRepeat(std::string_view body, int32_t count);

  // CutBetween on the pending text itself. The view stays valid until the
  // next call on this text.
  std::string_view Cut(std::string_view start_marker, std::string_view end_marker);
  std::string CutBetween(std::string_view start_marker, std::string_view end_marker) {
    return std::string(Cut(start_marker, end_marker));
  }
  // The front of the text as it lies in memory: empty only when nothing is
  // pending; what follows it is reached through Cut. Valid until the next call.
  std::string_view Head() {
    if (!Normalize()) return {};
    const Segment& top = segments_.back();
    return std::string_view(top.text).substr(top.start);
  }
  // Drops n characters of Head(); the view stays valid.
  void Consume(size_t n) {
    ++touched_;
    segments_.back().start += n;
  }
  // Cut("", " "): the text up to the first blank, the blank dropped too.
  std::string_view CutWord() {
    const std::string_view head = Head();
    for (size_t length = 0; length < head.size(); ++length) {
      if (head[length] == ' ') {
        Consume(length + 1);
        return head.substr(0, length);
      }
    }
    return Cut("", " ");
  }
  void TrimLeadingBlanks();
  // At the start of a loop iteration as FOR wrote it: takes the index and its
  // blank, sets `index`, true. Anything else at the front: false, nothing taken.
  bool TakeLoopIndex(int32_t& index) {
    if (!Normalize()) return false;
    Segment& top = segments_.back();
    if (!top.intact || top.start != top.room || top.last < 1) return false;
    top.start = top.text.size() - top.body.size() - 1;
    top.cursor = 0;
    index = static_cast<int32_t>(top.next - 1);
    return true;
  }
  // At a word of a loop body whose iteration text is as FOR wrote it from
  // here on: takes the word and its blank, sets `word`, returns its token.
  // Anything else at the front: nullptr, nothing taken.
  LoopToken* TakeLoopToken(std::string_view& word) {
    if (!Normalize()) return nullptr;
    Segment& top = segments_.back();
    if (top.tokens.empty()) return nullptr;
    const int64_t start = static_cast<int64_t>(top.start);
    if (start < top.clean_from || start < top.body_at) return nullptr;
    const int64_t at = start - top.body_at;
    if (top.cursor >= top.tokens.size() || top.tokens[top.cursor].at != at) {
      if (!FindToken(top, at)) return nullptr;
    }
    LoopToken& token = top.tokens[top.cursor++];
    word = std::string_view(top.text.data() + top.start, token.size);
    top.start += token.size + 1;
    return &token;
  }

  // Runs the loop at the front for as long as nothing else reads or changes
  // the text and `more()` agrees: on_index(i) at the start of iteration i,
  // then on_word(token, word) for each word of its body, the text kept as
  // TakeLoopIndex and TakeLoopToken would leave it after each. An iteration
  // follows the last one in place, its index never written out (nothing
  // reads the text behind the front). False when the front is no such loop.
  template <typename OnIndex, typename OnWord, typename More>
  bool RunLoop(OnIndex&& on_index, OnWord&& on_word, More&& more);

  // The whole rest as one text; writes out the iterations still to come.
  std::string_view View();
  // Bytes held: texts and the bodies of loops, not the iterations to come.
  size_t Held() const;

 private:
  struct Segment {
    std::string text;  // text[start..] comes first
    size_t start = 0;
    std::string body;  // a loop: iterations next..last follow the text
    int64_t next = 1;
    int64_t last = 0;
    std::string index = "1";  // index_of in decimal
    int64_t index_of = 1;     // next, unless iterations ran in place since
    bool intact = false;      // text is the last iteration, untouched
    // Where iterations begin in text: room for what RUN puts in front.
    size_t room = 0;
    // The body split into words, when it has no groups and single blanks.
    std::vector<LoopToken> tokens;
    size_t cursor = 0;       // the token expected next
    int64_t body_at = kNoBody;  // where the current iteration's body lies in text
    int64_t clean_from = 0;  // text before this was written over by Prepend

    bool Repeats() const { return next <= last; }
    size_t Held() const;
  };

  // Drops used-up segments and produces the next iteration of a loop whose
  // text is used up; false when nothing is pending.
  bool Normalize() {
    ++touched_;
    if (!segments_.empty()) {
      const Segment& top = segments_.back();
      if (top.start < top.text.size()) return true;
    }
    return NormalizeSlow();
  }
  bool NormalizeSlow();
  // Lengthens the front segment's text by what follows it; false at the end.
  bool Pull();
  void AppendIteration(Segment& segment);
  static void SplitBody(Segment& segment);
  static bool FindToken(Segment& segment, int64_t at);
  static void CountUp(Segment& segment);
  static void SyncIndex(Segment& segment);
  void Push(Segment segment);
  void Pop();
  void Guard(size_t more);

  static constexpr size_t kLoopRoom = 4096;
  static constexpr int64_t kNoBody = INT64_MAX;  // before the first iteration

  std::vector<Segment> segments_;  // back() is the front of the text
  size_t held_below_ = 0;          // Held() of every segment but the back one
  uint64_t touched_ = 0;           // counts calls that read or change the text
};

template <typename OnIndex, typename OnWord, typename More>
bool PendingText::RunLoop(OnIndex&& on_index, OnWord&& on_word, More&& more) {
  if (!Normalize()) return false;
  Segment& top = segments_.back();
  if (top.tokens.empty()) return false;
  const uint64_t seen = touched_;
  const auto at_iteration_start = [&top] {
    return top.intact && top.start == top.room && top.last >= 1;
  };
  if (!at_iteration_start()) {
    // Inside an iteration: only at a word as FOR wrote it.
    const int64_t start = static_cast<int64_t>(top.start);
    if (start < top.clean_from || start < top.body_at) return false;
    if (top.cursor >= top.tokens.size() || top.tokens[top.cursor].at != start - top.body_at) {
      if (!FindToken(top, start - top.body_at)) return false;
    }
  }
  // The index's width in the text: an iteration whose index is wider
  // takes the slow way, which writes the text anew.
  int64_t wider_from = 0;
  if (top.intact) {
    wider_from = 10;
    for (size_t width = top.text.size() - top.room - top.body.size() - 2; width > 1; --width)
      wider_from *= 10;
  }
  const char* const text = top.text.data();
  // Held in locals: the words run between them are opaque to the compiler,
  // which would read each back from the segment. `top`, its text and tokens
  // stay as they are while touched_ is unchanged.
  LoopToken* const tokens = top.tokens.data();
  const size_t token_count = top.tokens.size();
  const size_t body_start = top.text.size() - top.body.size() - 1;
  // The last iteration that runs in place of the one before it.
  const int64_t last_in_place = top.intact ? std::min(top.last, wider_from - 1) : INT64_MIN;
  for (;;) {
    if (top.start == top.room) {
      top.start = body_start;
      top.cursor = 0;
      on_index(static_cast<int32_t>(top.next - 1));
      if (touched_ != seen || !more()) return true;
    }
    size_t cursor = top.cursor;
    size_t start = top.start;
    while (cursor < token_count) {
      LoopToken& token = tokens[cursor++];
      const std::string_view word(text + start, token.size);
      start += token.size + 1;
      top.cursor = cursor;
      top.start = start;
      on_word(token, word);
      if (touched_ != seen || !more()) return true;
    }
    // The iteration is done: the next one in place of it.
    if (top.next > last_in_place) return true;
    top.start = top.room;
    top.clean_from = static_cast<int64_t>(top.room);
    ++top.next;
  }
}

}  // namespace engine
