// The unconsumed rest of a line. Taking words from the front costs O(1) per
// word and putting a body in front costs O(body). A FOR loop is not written
// out: its iterations are produced one at a time as the front reaches them,
// so a loop holds its body once whatever its count, and every reader of the
// rest (words, groups, IF skipping) sees the same text the written-out loop
// would have been.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace engine {

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

  void Assign(std::string_view text);
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
  void Consume(size_t n) { segments_.back().start += n; }
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
    std::string index = "1";  // next in decimal
    bool intact = false;      // text is the last iteration, untouched

    bool Repeats() const { return next <= last; }
    size_t Held() const;
  };

  // Drops used-up segments and produces the next iteration of a loop whose
  // text is used up; false when nothing is pending.
  bool Normalize() {
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
  static void CountUp(Segment& segment);
  void Push(Segment segment);
  void Pop();
  void Guard(size_t more);

  std::vector<Segment> segments_;  // back() is the front of the text
  size_t held_below_ = 0;          // Held() of every segment but the back one
};

}  // namespace engine
