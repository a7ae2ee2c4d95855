#include "pending_text.h"

#include <algorithm>
#include <cstring>

namespace engine {

size_t PendingText::Segment::Held() const {
  return text.size() - start + body.size() + tokens.size() * sizeof(LoopToken) + sizeof(Segment);
}

void PendingText::Assign(std::string_view text) {
  Clear();
  ++touched_;
  if (text.empty()) return;
  Segment segment;
  segment.text.assign(text);
  Push(std::move(segment));
}

void PendingText::Clear() {
  ++touched_;
  segments_.clear();
  held_below_ = 0;
}

size_t PendingText::Held() const {
  return held_below_ + (segments_.empty() ? 0 : segments_.back().Held());
}

void PendingText::Guard(size_t more) {
  if (Held() + more <= kLimit) return;
  Clear();
  throw LineTooLong{};
}

void PendingText::Push(Segment segment) {
  if (!segments_.empty()) held_below_ += segments_.back().Held();
  segments_.push_back(std::move(segment));
}

void PendingText::Pop() {
  segments_.pop_back();
  if (!segments_.empty()) held_below_ -= segments_.back().Held();
}

void PendingText::Prepend(std::string_view text) {
  ++touched_;
  if (text.empty()) return;
  Guard(text.size());
  if (segments_.empty()) {
    Assign(text);
    return;
  }
  Segment& top = segments_.back();
  const auto old_start = static_cast<int64_t>(top.start);
  top.clean_from = std::max(top.clean_from, old_start);
  if (text.size() > top.start) {
    // Make room in front: twice what is needed, so repeated inserts stay linear.
    const size_t size = top.text.size() - top.start;
    const size_t room = 2 * (text.size() + size) + 64;
    std::string grown(room + size, ' ');
    std::memcpy(grown.data() + room, top.text.data() + top.start, size);
    top.text.swap(grown);
    top.start = room;
    const int64_t moved = static_cast<int64_t>(room) - old_start;
    if (top.body_at != kNoBody) top.body_at += moved;
    top.clean_from += moved;
    // A loop whose body runs a definition keeps the room for the next iterations.
    if (top.last > 0) top.room = std::min(std::max(top.room, room), kLoopRoom);
  }
  top.start -= text.size();
  std::memcpy(top.text.data() + top.start, text.data(), text.size());
  top.intact = false;
}

void PendingText::PrependRepeat(std::string_view body, int32_t count) {
  ++touched_;
  if (count < 1) {
    Prepend(" ");
    return;
  }
  Guard(body.size() + 1 + sizeof(Segment));
  Segment loop;
  loop.text = " ";
  loop.body.assign(body);
  loop.next = 1;
  loop.last = count;
  SplitBody(loop);
  Push(std::move(loop));
}

void PendingText::AppendIteration(Segment& segment) {
  SyncIndex(segment);
  segment.text += segment.index;
  segment.text += ' ';
  segment.text += segment.body;
  segment.text += ' ';
  segment.intact = false;
  CountUp(segment);
}

void PendingText::SplitBody(Segment& segment) {
  const std::string& body = segment.body;
  if (body.empty() || body.size() > UINT32_MAX || body.front() == ' ' || body.back() == ' ' ||
      body.find_first_of("{\"`") != std::string::npos || body.find("  ") != std::string::npos)
    return;
  for (size_t at = 0; at < body.size();) {
    size_t end = body.find(' ', at);
    if (end == std::string::npos) end = body.size();
    LoopToken token;
    token.at = static_cast<uint32_t>(at);
    token.size = static_cast<uint32_t>(end - at);
    segment.tokens.push_back(token);
    at = end + 1;
  }
}

bool PendingText::FindToken(Segment& segment, int64_t at) {
  const auto found = std::lower_bound(
      segment.tokens.begin(), segment.tokens.end(), at,
      [](const LoopToken& token, int64_t value) { return token.at < value; });
  if (found == segment.tokens.end() || found->at != at) return false;
  segment.cursor = static_cast<size_t>(found - segment.tokens.begin());
  return true;
}

void PendingText::SyncIndex(Segment& segment) {
  if (segment.index_of == segment.next) return;
  segment.index = std::to_string(segment.next);
  segment.index_of = segment.next;
}

void PendingText::CountUp(Segment& segment) {
  SyncIndex(segment);
  ++segment.next;
  ++segment.index_of;
  std::string& index = segment.index;
  size_t digit = index.size();
  while (digit > 0 && index[digit - 1] == '9') index[--digit] = '0';
  if (digit == 0) {
    index.insert(index.begin(), '1');
  } else {
    ++index[digit - 1];
  }
}

bool PendingText::NormalizeSlow() {
  while (!segments_.empty()) {
    Segment& top = segments_.back();
    if (top.start < top.text.size()) return true;
    if (top.Repeats()) {
      SyncIndex(top);
      top.start = top.room;
      top.clean_from = static_cast<int64_t>(top.room);
      top.body_at = static_cast<int64_t>(top.room + top.index.size()) + 1;
      top.cursor = 0;
      if (top.intact && top.text.size() == top.room + top.index.size() + top.body.size() + 2) {
        // The last iteration's text with the index written over.
        std::memcpy(top.text.data() + top.room, top.index.data(), top.index.size());
        CountUp(top);
      } else {
        top.text.assign(top.room, ' ');  // keeps its capacity for the next iteration
        AppendIteration(top);
        top.intact = true;
      }
      continue;
    }
    Pop();
  }
  return false;
}

bool PendingText::Pull() {
  Segment& top = segments_.back();
  if (top.Repeats()) {
    Guard(top.body.size() + 16);
    AppendIteration(top);
    return true;
  }
  if (segments_.size() < 2) return false;
  // The front segment's rest goes in front of the one below it.
  std::string text = std::move(top.text);
  const size_t start = top.start;
  Pop();
  Prepend(std::string_view(text).substr(start));
  return true;
}

std::string_view PendingText::Cut(std::string_view start_marker, std::string_view end_marker) {
  if (!Normalize()) return {};
  bool started = start_marker.empty();
  size_t piece_at = 0;  // offsets count from the front of the pending text
  size_t from = 0;      // where the next search begins
  for (;;) {
    Segment& top = segments_.back();
    const std::string_view text(top.text.data() + top.start, top.text.size() - top.start);
    if (!started) {
      const size_t at = text.find(start_marker, from);
      if (at == std::string_view::npos) {
        // The marker may still begin in the text's last characters.
        from = text.size() - std::min(text.size(), start_marker.size() - 1);
        if (Pull()) continue;
        return {};  // no start marker anywhere: nothing is cut
      }
      started = true;
      piece_at = at + start_marker.size();
      from = piece_at;
    }
    if (!end_marker.empty()) {
      const size_t end = text.find(end_marker, from);
      if (end != std::string_view::npos) {
        top.start += end + end_marker.size();
        return text.substr(piece_at, end - piece_at);
      }
      from = std::max(piece_at, text.size() - std::min(text.size(), end_marker.size() - 1));
    }
    if (Pull()) continue;
    // No end marker in the whole rest.
    if (start_marker.empty()) {
      top.start = top.text.size();
      return text;
    }
    top.start += std::min(start_marker.size() + end_marker.size() - 1, text.size());
    return {};
  }
}

void PendingText::TrimLeadingBlanks() {
  while (Normalize()) {
    Segment& top = segments_.back();
    const size_t first = top.text.find_first_not_of(' ', top.start);
    if (first != std::string::npos) {
      top.start = first;
      return;
    }
    top.start = top.text.size();
  }
}

std::string_view PendingText::View() {
  if (!Normalize()) return {};
  while (Pull()) {
  }
  const Segment& top = segments_.back();
  return std::string_view(top.text).substr(top.start);
}

}  // namespace engine
