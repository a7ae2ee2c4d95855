#include "control_words.h"

#include <algorithm>

#include "main_form.h"

namespace ui {

namespace {
constexpr int32_t kFarthest = 100000;
}  // namespace

QRect PageRect(int32_t left, int32_t top, int32_t width, int32_t height) {
  return QRect(std::clamp(left, -kFarthest, kFarthest), std::clamp(top, -kFarthest, kFarthest),
               std::clamp(width, 0, kFarthest), std::clamp(height, 0, kFarthest));
}

void RegisterControlWords(engine::Engine& engine, TMainForm& form) {
  RegisterPropertyWords(engine, form);
  RegisterCreationWords(engine, form);
  RegisterPageWords(engine, form);
}

}  // namespace ui
