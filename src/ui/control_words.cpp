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

FormPage::FormPage(TMainForm& form) : QObject(&form), form_(form) {}

ControlRegisters& FormPage::registers() { return form_.registers(); }

int32_t FormPage::DesignX(int32_t v) const { return form_.ToDesignX(v); }

int32_t FormPage::DesignY(int32_t v) const { return form_.ToDesignY(v); }

void RegisterControlWords(engine::Engine& engine, TMainForm& form) {
  PageSurface& page = *new FormPage(form);
  engine::AddWords(engine, kPropertyWords, page);
  engine::AddWords(engine, kCreationWords, page);
  engine::AddWords(engine, kPageWords, page);
}

}  // namespace ui
