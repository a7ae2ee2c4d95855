#include "pending_text.h"

#include <algorithm>
#include <cstring>

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
  std::string_view text = View();
  size_t start = 0;
  if (!start_marker.empty()) {
    size_t at = text.find(start_marker);
    if (at == std::string_view::npos) return {};
    start = at + start_marker.size();
  }
  size_t end = end_marker.empty() ? std::string_view::npos : text.find(end_marker, start);
  if (end != std::string_view::npos) {
    std::string piece(text.substr(start, end - start));
    DropFront(end + end_marker.size());
    return piece;
  }
  if (start_marker.empty()) {
    std::string piece(text);
    Clear();
    return piece;
  }
  DropFront(start_marker.size() + end_marker.size() - 1);
  return {};
}

void PendingText::TrimLeadingBlanks() {
  std::string_view text = View();
  size_t n = text.find_first_not_of(' ');
  DropFront(n == std::string_view::npos ? text.size() : n);
}

}  // namespace engine
