#include "control_kinds.h"

#include <QCheckBox>
#include <QFont>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextDocument>
#include <algorithm>

#include "combo_box.h"
#include "cp1251.h"
#include "db_check_box.h"
#include "directory_edit.h"

namespace ui {

namespace {

using Extent = ControlFactory::Extent;

constexpr int kMaxFontPoints = 500;
constexpr int kCheckHeight = 17;

void ApplyFontSize(QWidget& widget, int32_t size) {
  QFont font = widget.font();
  if (size > 0) {
    font.setPointSize(std::min(size, kMaxFontPoints));
  } else if (size < 0) {
    // A negative size is a height in pixels, as the scripts' platform has it.
    font.setPixelSize(std::min(-static_cast<int64_t>(size), int64_t{kMaxFontPoints}));
  } else {
    font.setPointSize(8);
  }
  widget.setFont(font);
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

void FillLabel(QWidget& control, ControlRegisters& r) {
  auto& label = static_cast<QLabel&>(control);
  ApplyFontSize(label, r.font_size);
  r.font_size = 8;
  label.setText(engine::FromCp1251(r.text));
  label.adjustSize();
}

void FillCombo(QWidget& control, ControlRegisters& r) {
  auto& box = static_cast<StyledComboBox&>(control);
  const QRect rect = PageRect(r.left, r.top, r.width, r.height);
  box.Place(rect.x(), rect.y(), rect.width(), rect.height());
  box.ClearItems();
  box.SetStyle(ComboStyle(r.style, box.style()));
  box.SetText(engine::FromCp1251(r.text));
  for (int i = 1; i <= r.ItemsInForce(); ++i)
    box.AddItem(engine::FromCp1251(r.items[static_cast<size_t>(i)]));
  if (r.style != "SIMPLE" && r.index >= 0) box.SetItemIndex(r.index);
  box.SetNumberRange(r.range_low, r.range_high);
  r.range_low = 0;
  r.range_high = -1;
}

void FillButton(QWidget& control, ControlRegisters& r) {
  static_cast<QPushButton&>(control).setText(engine::FromCp1251(r.text));
}

void FillCheck(QWidget& control, ControlRegisters& r) {
  auto& box = static_cast<QCheckBox&>(control);
  box.setText(engine::FromCp1251(r.text));
  box.setChecked(r.checks > 0);
}

void FillDbCheck(QWidget& control, ControlRegisters& r) {
  auto& box = static_cast<DbCheckBox&>(control);
  box.setText(engine::FromCp1251(r.text));
  box.SetDataField(engine::FromCp1251(r.field));
}

void FillMemo(QWidget& control, ControlRegisters& r) {
  auto& memo = static_cast<QPlainTextEdit&>(control);
  memo.clear();
  if (!r.text.empty()) memo.appendPlainText(MemoLines(engine::FromCp1251(r.text)));
  // Undo goes back no further than the text the page put in.
  memo.document()->clearUndoRedoStacks();
}

void FillDir(QWidget& control, ControlRegisters& r) {
  static_cast<DirectoryEdit&>(control).SetText(engine::FromCp1251(r.text));
}

}  // namespace

const ControlFactory::Kind kLabelKind{
    {Numbering::kReused, PoolKind::kLabel, false}, Extent::kPosition, FillLabel};
const ControlFactory::Kind kComboKind{
    {Numbering::kReused, PoolKind::kCombo, true}, Extent::kByFill, FillCombo};
const ControlFactory::Kind kButtonKind{
    {Numbering::kReused, PoolKind::kButton, true}, Extent::kRect, FillButton};
const ControlFactory::Kind kCheckKind{
    {Numbering::kTaken, PoolKind::kCheck, true}, Extent::kRect, FillCheck, kCheckHeight};
const ControlFactory::Kind kDbCheckKind{
    {Numbering::kTaken, PoolKind::kDbCheck, true}, Extent::kRect, FillDbCheck, kCheckHeight};
const ControlFactory::Kind kBevelKind{
    {Numbering::kTaken, PoolKind::kBevel, false}, Extent::kRect, nullptr};
const ControlFactory::Kind kMemoKind{
    {Numbering::kOnce, PoolKind::kLabel, true}, Extent::kRect, FillMemo};
const ControlFactory::Kind kDirKind{
    {Numbering::kUnmapped, PoolKind::kLabel, true}, Extent::kPosition, FillDir};

}  // namespace ui
