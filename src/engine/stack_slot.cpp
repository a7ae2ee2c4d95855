#include "stack_slot.h"

namespace engine {

const Value& StackSlot::Text() const {
  if (form_ == Form::kShort) {
    text_.assign(short_, short_size_);
  } else if (form_ == Form::kNumber) {
    text_ = NumberToText(number_);
  }
  form_ = Form::kText;
  return text_;
}

int64_t StackSlot::TextNumber() const {
  const std::optional<int32_t> n = Number();
  return n ? *n : kNoNumber;
}

Value StackSlot::Take() {
  switch (form_) {
    case Form::kShort:
      return Value(short_, short_size_);
    case Form::kNumber:
      return NumberToText(number_);
    case Form::kText:
      break;
  }
  return std::move(text_);
}

}  // namespace engine
