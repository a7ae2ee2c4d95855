#include "control_words.h"

#include "main_form.h"

namespace ui {

FormPage::FormPage(TMainForm& form, DeviceSide* device)
    : QObject(&form), form_(form), device_(device) {}

ControlRegisters& FormPage::registers() { return form_.registers(); }

int32_t FormPage::DesignX(int32_t v) const { return form_.ToDesignX(v); }

int32_t FormPage::DesignY(int32_t v) const { return form_.ToDesignY(v); }

void FormPage::Place(ControlKind kind) { form_.controls().Place(kind); }

void RegisterControlWords(engine::Engine& engine, TMainForm& form, DeviceSide* device) {
  PageSurface& page = *new FormPage(form, device);
  engine::AddWords(engine, kPropertyWords, page);
  engine::AddWords(engine, kCreationWords, page);
  engine::AddWords(engine, kPageWords, page);
}

}  // namespace ui
