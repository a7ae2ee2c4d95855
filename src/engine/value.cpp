#include "value.h"

#include <algorithm>
#include <ctime>

namespace engine {
namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

std::optional<int32_t> ToNumberByRule(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
    negative = text[i] == '-';
    ++i;
  }
  std::string_view rest = text.substr(i);
  bool hex = false;
  if (!rest.empty() && (rest[0] == '$' || rest[0] == 'x' || rest[0] == 'X')) {
    rest.remove_prefix(1);
    hex = true;
  } else if (rest.size() >= 2 && rest[0] == '0' && (rest[1] == 'x' || rest[1] == 'X')) {
    rest.remove_prefix(2);
    hex = true;
  }
  if (rest.empty()) return std::nullopt;
  if (hex) {
    if (rest.size() > 8) return std::nullopt;
    uint32_t pattern = 0;
    for (char c : rest) {
      int d = HexDigit(c);
      if (d < 0) return std::nullopt;
      pattern = pattern * 16 + static_cast<uint32_t>(d);
    }
    auto value = static_cast<int32_t>(pattern);
    return negative ? static_cast<int32_t>(0u - pattern) : value;
  }
  int64_t value = 0;
  for (char c : rest) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
    if (value > 2147483648LL) return std::nullopt;
  }
  if (negative) value = -value;
  if (value > 2147483647LL) return std::nullopt;
  return static_cast<int32_t>(value);
}

Value NumberToText(int64_t n) { return std::to_string(n); }

Cut FindCut(std::string_view text, std::string_view start_marker,
            std::string_view end_marker) {
  size_t start = 0;  // index just after the start marker
  if (!start_marker.empty()) {
    size_t at = text.find(start_marker);
    if (at == std::string_view::npos) return {{}, 0};
    start = at + start_marker.size();
  }
  // An empty end marker is never found, as an empty POS pattern is never found.
  size_t end = end_marker.empty() ? std::string_view::npos : text.find(end_marker, start);
  if (end != std::string_view::npos) return {text.substr(start, end - start), end + end_marker.size()};
  if (start_marker.empty()) return {text, text.size()};
  size_t k = start_marker.size() + end_marker.size() - 1;
  return {{}, std::min(k, text.size())};
}

std::string CutBetween(std::string& text, std::string_view start_marker,
                       std::string_view end_marker) {
  Cut cut = FindCut(text, start_marker, end_marker);
  std::string piece(cut.piece);
  text.erase(0, cut.consumed);
  return piece;
}

void TrimLeadingBlanks(std::string& text) {
  size_t n = text.find_first_not_of(' ');
  text.erase(0, n == std::string::npos ? text.size() : n);
}

std::string MemoStamp() {
  std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char buf[32];
  std::strftime(buf, sizeof buf, "%d.%m-%H:%M:%S", &local);
  return buf;
}

}  // namespace engine
