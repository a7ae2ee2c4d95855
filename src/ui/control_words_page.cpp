// FormPage: SCLEAR, the controls read back inside event scripts, the level
// bar and the two message windows.
#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

#include "combo_box.h"
#include "control_words.h"
#include "cp1251.h"
#include "db_check_box.h"
#include "device_side.h"
#include "directory_edit.h"
#include "level_image.h"
#include "main_form.h"

namespace ui {

namespace {

void Sclear(TMainForm& form, DeviceSide* device) {
  ControlPool& pool = form.pool();
  for (int i = 1; i <= ControlPool::kChecks; ++i) pool.CheckBox(i)->setChecked(false);
  for (int i = 1; i <= ControlPool::kDbChecks; ++i) {
    pool.DBCheckBox(i)->setChecked(false);
    pool.DBCheckBox(i)->SetDataField(QString());
  }
  form.page_model().Clear();
  pool.Image1()->hide();
  form.controls().HideAllBut(ControlKind::kMemo);
  if (device) {
    device->RecordHookOff();
    if (device->AnyLink()) pool.Memo1()->hide();
  }
  pool.Memo1()->clear();
}

std::string JoinedLines(const QPlainTextEdit* memo) {
  // Lines joined by CR LF; no line break after the last.
  QString text = memo->toPlainText();
  text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
  return engine::ToCp1251(text);
}

}  // namespace

void FormPage::ClearPage() { Sclear(form_, device_); }

void FormPage::LockInput(bool locked) { form_.pool().LockInput(locked); }

int32_t FormPage::EventComboIndex() const {
  const StyledComboBox* box = form_.pool().ComboBox(form_.page_model().LastEventPosition());
  return box ? box->ItemIndex() : -1;
}

std::string FormPage::EventComboText() const {
  const StyledComboBox* box = form_.pool().ComboBox(form_.page_model().LastEventPosition());
  return box ? engine::ToCp1251(box->Text()) : std::string();
}

bool FormPage::EventBoxChecked() const {
  const QCheckBox* box = form_.pool().CheckBox(form_.page_model().LastEventPosition());
  return box && box->isChecked();
}

std::string FormPage::FolderText() const {
  return engine::ToCp1251(form_.pool().DirectoryEdit1()->Text());
}

std::string FormPage::MemoText() const { return JoinedLines(form_.pool().Memo1()); }

void FormPage::ShowLevelImage() { form_.pool().Image1()->show(); }

void FormPage::DrawLevel(int32_t left, int32_t top, int32_t level) {
  form_.DrawLevelBar(left, top, level);
}

void FormPage::Message(const std::string& text) {
  form_.dialogs().Message(engine::FromCp1251(text));
}

void FormPage::Warn(const std::string& text) {
  form_.dialogs().Warning(engine::FromCp1251(text));
}

bool FormPage::Ask(const std::string& text) {
  return form_.dialogs().MessageDlg(engine::FromCp1251(text));
}

std::optional<bool> FormPage::AskOrCancel(const std::string& text) {
  return form_.dialogs().MessageDlgCancel(engine::FromCp1251(text));
}

}  // namespace ui
