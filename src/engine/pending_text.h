// The unconsumed rest of a line. Taking words from the front costs O(1) per
// word and putting a body in front costs O(body): the text sits at the end of
// a buffer with free room before it that inserts fill from the back.
#pragma once

#include <string>
#include <string_view>

namespace engine {

class PendingText {
 public:
  PendingText() = default;
  explicit PendingText(std::string_view text) { Assign(text); }

  std::string_view View() const { return std::string_view(buffer_).substr(start_); }
  bool Empty() const { return start_ >= buffer_.size(); }
  size_t Size() const { return buffer_.size() - start_; }
  char Front() const { return buffer_[start_]; }

  void Assign(std::string_view text);
  void Clear() { buffer_.clear(); start_ = 0; }
  // Drops the first n characters (all when n exceeds the size).
  void DropFront(size_t n);
  // Puts text in front of what is pending.
  void Prepend(std::string_view text);

  // CutBetween on the pending text itself, without copying the rest.
  std::string CutBetween(std::string_view start_marker, std::string_view end_marker);
  void TrimLeadingBlanks();

 private:
  std::string buffer_;
  size_t start_ = 0;
};

}  // namespace engine
