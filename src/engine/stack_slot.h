// One value of the script stack. Most values are short texts (literals) or
// numbers that arithmetic words hand on to each other; a slot keeps them
// without building a text until someone reads the value as a text.
#pragma once

#include <cstdint>
#include <cstring>
#include <optional>
#include <string_view>

#include "value.h"

namespace engine {

class StackSlot {
 public:
  void SetText(Value&& text) {
    text_ = std::move(text);
    form_ = Form::kText;
    numeric_ = false;
  }
  void SetText(std::string_view text) {
    numeric_ = false;
    if (text.size() <= sizeof short_) {
      CopyShort(text);
      short_size_ = static_cast<uint8_t>(text.size());
      form_ = Form::kShort;
      return;
    }
    text_.assign(text);
    form_ = Form::kText;
  }
  void SetNumber(int32_t number) {
    number_ = number;
    numeric_ = true;
    form_ = Form::kNumber;
  }

  // The value of `other`, without the text an earlier value left there.
  void CopyValue(const StackSlot& other) {
    form_ = other.form_;
    numeric_ = other.numeric_;
    short_size_ = other.short_size_;
    number_ = other.number_;
    std::memcpy(short_, other.short_, sizeof short_);
    if (form_ == Form::kText) text_ = other.text_;
  }

  // The value as a text; a number or short text is written out first.
  const Value& Text() const;
  // The value as a text, moved out of the slot.
  Value Take();
  // The value by the number rule.
  std::optional<int32_t> Number() const {
    if (numeric_) return number_;
    if (form_ == Form::kShort) return ToNumber(std::string_view(short_, short_size_));
    return ToNumber(text_);
  }
  // Number() without an optional on the way: the optional is assembled on
  // the machine stack in pieces and read back whole, a stall per value; the
  // text's number comes back in a register, so `out` never needs an address.
  bool ReadNumber(int32_t& out) const {
    if (numeric_) {
      out = number_;
      return true;
    }
    const int64_t n = TextNumber();
    out = static_cast<int32_t>(n);
    return n != kNoNumber;
  }

 private:
  enum class Form : uint8_t { kText, kShort, kNumber };

  static constexpr int64_t kNoNumber = INT64_MIN;
  // The text's number, or kNoNumber.
  int64_t TextNumber() const;

  // Fixed-size moves that overlap instead of a call to memcpy.
  void CopyShort(std::string_view text) {
    const char* from = text.data();
    const size_t n = text.size();
    if (n > 16) {
      std::memcpy(short_, from, 16);
      std::memcpy(short_ + n - 16, from + n - 16, 16);
    } else if (n >= 8) {
      std::memcpy(short_, from, 8);
      std::memcpy(short_ + n - 8, from + n - 8, 8);
    } else if (n >= 4) {
      std::memcpy(short_, from, 4);
      std::memcpy(short_ + n - 4, from + n - 4, 4);
    } else if (n > 0) {
      short_[0] = from[0];
      short_[n / 2] = from[n / 2];
      short_[n - 1] = from[n - 1];
    }
  }

  mutable Value text_;
  mutable Form form_ = Form::kText;  // where the text is
  bool numeric_ = false;             // number_ holds the value
  uint8_t short_size_ = 0;
  int32_t number_ = 0;
  char short_[24];  // makes the slot 64 bytes: the stack is indexed by a shift
};
static_assert(sizeof(void*) != 8 || sizeof(StackSlot) == 64);

}  // namespace engine
