// Script values: 8-bit texts (Windows-1251 bytes) and the one number rule.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace engine {

using Value = std::string;

inline const Value kTrue = "255";
inline const Value kFalse = "0";

// Leading blanks, optional sign, then decimal digits in the 32-bit range or a
// hexadecimal pattern of at most eight digits after $, x, X, 0x or 0X. Nothing
// may follow the digits.
std::optional<int32_t> ToNumberByRule(std::string_view text);
inline std::optional<int32_t> ToNumber(std::string_view text) {
  // Most numbers in scripts are short plain decimals.
  if (!text.empty() && text.size() <= 9) {
    int32_t value = 0;
    for (const char c : text) {
      const unsigned digit = static_cast<unsigned char>(c) - unsigned{'0'};
      if (digit > 9) return ToNumberByRule(text);
      value = value * 10 + static_cast<int32_t>(digit);
    }
    return value;
  }
  return ToNumberByRule(text);
}

// Plain decimal: "-" for negatives, no "+", no leading zeros.
Value NumberToText(int64_t n);

inline Value Truth(bool b) { return b ? kTrue : kFalse; }

// Where a delimited piece lies at the front of a text, and how much of the
// front goes with it (the tokenizer's rule).
struct Cut {
  std::string_view piece;
  size_t consumed;
};
Cut FindCut(std::string_view text, std::string_view start_marker, std::string_view end_marker);

// Cuts a delimited piece off the front of `text`.
std::string CutBetween(std::string& text, std::string_view start_marker,
                       std::string_view end_marker);

void TrimLeadingBlanks(std::string& text);

// "dd.mm-hh:nn:ss" of the current local time, the stamp of memo log lines.
std::string MemoStamp();

}  // namespace engine
