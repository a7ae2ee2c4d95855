#include "pending_text.h"

#include <algorithm>
#include <cstring>

#include "value.h"

namespace engine {

void PendingText::Assign(std::string_view text) {
  buffer_.assign(text);
  start_ = 0;
}

void PendingText::DropFront(size_t n) {
  start_ = std::min(buffer_.size(), start_ + n);
  if (start_ == buffer_.size()) Clear();
}

void PendingText::Prepend(std::string_view text) {
  if (text.empty()) return;
  if (text.size() > start_) {
    // Make room in front: twice what is needed, so repeated inserts stay linear.
    size_t size = Size();
    size_t room = 2 * (text.size() + size) + 64;
    std::string grown(room + size, ' ');
    std::memcpy(grown.data() + room, buffer_.data() + start_, size);
    buffer_.swap(grown);
    start_ = room;
  }
  start_ -= text.size();
  std::memcpy(buffer_.data() + start_, text.data(), text.size());
}

std::string PendingText::CutBetween(std::string_view start_marker,
                                    std::string_view end_marker) {
  Cut cut = FindCut(View(), start_marker, end_marker);
  std::string piece(cut.piece);
  DropFront(cut.consumed);
  return piece;
}

void PendingText::TrimLeadingBlanks() {
  std::string_view text = View();
  size_t n = text.find_first_not_of(' ');
  DropFront(n == std::string_view::npos ? text.size() : n);
}

}  // namespace engine
