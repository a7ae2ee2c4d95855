// Creation words: each hands out the next control of its pool, applies the
// pending properties, numbers it with the current ID and shows it.
#include <QCheckBox>
#include <QFont>
#include <QFrame>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTextDocument>
#include <QPushButton>

#include "combo_box.h"
#include "control_words.h"
#include "cp1251.h"
#include "db_check_box.h"
#include "directory_edit.h"
#include "main_form.h"

namespace ui {

namespace {

constexpr int kMaxFontPoints = 500;

// The number creation words give out, or 0 when they must do nothing: at 100
// and above, and below 1 where the ID map has no entry.
int32_t NumberToGive(const ControlRegisters& r) {
  return r.current_id >= 1 && r.current_id < ControlRegisters::kIdLimit ? r.current_id : 0;
}

// LABEL, COMBO, BUTTON: the same number gets back the member it had.
int32_t AllocateReused(ControlRegisters& r, int32_t n, PoolKind kind, int pool_size) {
  int32_t& entry = *r.IdMapEntry(n);
  if (entry == 0) {
    int64_t& count = r.FillCount(kind);
    ++count;
    if (count >= 1 && count <= pool_size) entry = static_cast<int32_t>(count);
  }
  return entry;
}

// CHECK, DBCHECK, BEVEL: always the next member.
int32_t AllocateTaken(ControlRegisters& r, int32_t n, PoolKind kind, int pool_size) {
  int64_t& count = r.FillCount(kind);
  ++count;
  if (count < 1 || count > pool_size) return 0;
  *r.IdMapEntry(n) = static_cast<int32_t>(count);
  return static_cast<int32_t>(count);
}

void ApplyFontSize(QWidget* widget, int32_t size) {
  QFont font = widget->font();
  if (size > 0) {
    font.setPointSize(std::min(size, kMaxFontPoints));
  } else if (size < 0) {
    // A negative size is a height in pixels, as the scripts' platform has it.
    font.setPixelSize(std::min(-static_cast<int64_t>(size), int64_t{kMaxFontPoints}));
  } else {
    font.setPointSize(8);
  }
  widget->setFont(font);
}

// Lines of a text: CR LF, CR and LF all break.
QString MemoLines(const QString& text) {
  QString lines = text;
  lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  lines.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return lines;
}

StyledComboBox::Style ComboStyle(const std::string& name, StyledComboBox::Style current) {
  if (name == "LIST") return StyledComboBox::Style::kList;
  if (name == "SIMPLE") return StyledComboBox::Style::kSimple;
  if (name == "DROPDOWN") return StyledComboBox::Style::kDropDown;
  return current;
}

void Label(TMainForm& form) {
  ControlRegisters& r = form.registers();
  const int32_t n = NumberToGive(r);
  if (n == 0) return;
  const int32_t e = AllocateReused(r, n, PoolKind::kLabel, ControlPool::kLabels);
  if (QLabel* label = form.pool().Label(e)) {
    ApplyFontSize(label, r.font_size);
    r.font_size = 8;
    label->setText(engine::FromCp1251(r.text));
    label->move(PageRect(r.left, r.top, 0, 0).topLeft());
    label->adjustSize();
    label->show();
  }
  r.current_id = n + 1;
}

void Combo(TMainForm& form) {
  ControlRegisters& r = form.registers();
  const int32_t n = NumberToGive(r);
  if (n == 0) return;
  r.SetEventScript(n, r.on_change);
  const int32_t e = AllocateReused(r, n, PoolKind::kCombo, ControlPool::kCombos);
  if (StyledComboBox* box = form.pool().ComboBox(e)) {
    SetTag(box, n);
    r.SetEventScript(n, r.on_change);
    const QRect rect = PageRect(r.left, r.top, r.width, r.height);
    box->Place(rect.x(), rect.y(), rect.width(), rect.height());
    box->ClearItems();
    box->SetStyle(ComboStyle(r.style, box->style()));
    box->SetText(engine::FromCp1251(r.text));
    for (int i = 1; i <= r.ItemsInForce(); ++i)
      box->AddItem(engine::FromCp1251(r.items[static_cast<size_t>(i)]));
    if (r.style != "SIMPLE" && r.index >= 0) box->SetItemIndex(r.index);
    box->SetNumberRange(r.range_low, r.range_high);
    r.range_low = 0;
    r.range_high = -1;
    box->show();
  }
  r.current_id = n + 1;
}

void Button(TMainForm& form) {
  ControlRegisters& r = form.registers();
  const int32_t n = NumberToGive(r);
  if (n == 0) return;
  r.SetEventScript(n, r.on_change);
  const int32_t e = AllocateReused(r, n, PoolKind::kButton, ControlPool::kButtons);
  if (QPushButton* button = form.pool().Button(e)) {
    SetTag(button, n);
    r.SetEventScript(n, r.on_change);
    button->setGeometry(PageRect(r.left, r.top, r.width, r.height));
    button->setText(engine::FromCp1251(r.text));
    button->show();
  }
  r.current_id = n + 1;
}

constexpr int kCheckHeight = 17;

// CHECK and DBCHECK differ only in their pool and in what the box shows.
template <typename Box, typename Apply>
void PlaceCheckBox(TMainForm& form, PoolKind kind, int pool_size,
                   Box* (ControlPool::*member)(int) const, Apply apply) {
  ControlRegisters& r = form.registers();
  const int32_t n = NumberToGive(r);
  if (n == 0) return;
  r.SetEventScript(n, r.on_change);
  const int32_t e = AllocateTaken(r, n, kind, pool_size);
  if (Box* box = (form.pool().*member)(e)) {
    SetTag(box, n);
    r.SetEventScript(n, r.on_change);
    box->setGeometry(PageRect(r.left, r.top, r.width, kCheckHeight));
    box->setText(engine::FromCp1251(r.text));
    apply(*box, r);
    box->show();
  }
  r.current_id = n + 1;
}

void Check(TMainForm& form) {
  PlaceCheckBox(form, PoolKind::kCheck, ControlPool::kChecks, &ControlPool::CheckBox,
                [](QCheckBox& box, const ControlRegisters& r) { box.setChecked(r.checks > 0); });
}

void DbCheck(TMainForm& form) {
  PlaceCheckBox(form, PoolKind::kDbCheck, ControlPool::kDbChecks, &ControlPool::DBCheckBox,
                [](DbCheckBox& box, const ControlRegisters& r) {
                  box.SetDataField(engine::FromCp1251(r.field));
                });
}

void Bevel(TMainForm& form) {
  ControlRegisters& r = form.registers();
  const int32_t n = NumberToGive(r);
  if (n == 0) return;
  const int32_t e = AllocateTaken(r, n, PoolKind::kBevel, ControlPool::kBevels);
  if (QFrame* bevel = form.pool().Bevel(e)) {
    bevel->setGeometry(PageRect(r.left, r.top, r.width, r.height));
    bevel->show();
  }
  r.current_id = n + 1;
}

void Memo(TMainForm& form) {
  ControlRegisters& r = form.registers();
  const int32_t n = NumberToGive(r);
  if (n == 0) return;
  QPlainTextEdit* memo = form.pool().Memo1();
  memo->clear();
  r.SetEventScript(n, r.on_change);
  SetTag(memo, n);
  memo->setGeometry(PageRect(r.left, r.top, r.width, r.height));
  if (!r.text.empty()) memo->appendPlainText(MemoLines(engine::FromCp1251(r.text)));
  // Undo goes back no further than the text the page put in.
  memo->document()->clearUndoRedoStacks();
  memo->show();
  // A second MEMO under the same number keeps the number for the next word.
  int32_t& entry = *r.IdMapEntry(n);
  if (entry == 0) {
    entry = 1;
    r.current_id = n + 1;
  }
}

void Dir(TMainForm& form) {
  ControlRegisters& r = form.registers();
  const int32_t n = NumberToGive(r);
  if (n == 0) return;
  r.SetEventScript(n, r.on_change);
  DirectoryEdit* dir = form.pool().DirectoryEdit1();
  SetTag(dir, n);
  dir->SetText(engine::FromCp1251(r.text));
  dir->move(PageRect(r.left, r.top, 0, 0).topLeft());
  dir->show();
  r.current_id = n + 1;
}

}  // namespace

void FormPage::Place(PlacedControl control) {
  switch (control) {
    case PlacedControl::kLabel:
      return Label(form_);
    case PlacedControl::kCombo:
      return Combo(form_);
    case PlacedControl::kButton:
      return Button(form_);
    case PlacedControl::kCheck:
      return Check(form_);
    case PlacedControl::kDbCheck:
      return DbCheck(form_);
    case PlacedControl::kBevel:
      return Bevel(form_);
    case PlacedControl::kMemo:
      return Memo(form_);
    case PlacedControl::kDir:
      return Dir(form_);
  }
}

}  // namespace ui
