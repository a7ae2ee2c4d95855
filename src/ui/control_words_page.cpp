// FormPage: SCLEAR, the controls read back inside event scripts, the level
// bar and the two message windows.
#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>

#include "combo_box.h"
#include "control_words.h"
#include "cp1251.h"
#include "db_check_box.h"
#include "directory_edit.h"
#include "level_image.h"
#include "main_form.h"

namespace ui {

namespace {

void Sclear(TMainForm& form) {
  ControlRegisters& r = form.registers();
  ControlPool& pool = form.pool();
  r.current_id = 1;
  pool.Image1()->hide();
  for (int i = 1; i <= ControlPool::kLabels; ++i) pool.Label(i)->hide();
  for (int i = 1; i <= ControlPool::kCombos; ++i) pool.ComboBox(i)->hide();
  for (int i = 1; i <= ControlPool::kChecks; ++i) {
    pool.CheckBox(i)->hide();
    pool.CheckBox(i)->setChecked(false);
  }
  for (int i = 1; i <= ControlPool::kDbChecks; ++i) {
    DbCheckBox* box = pool.DBCheckBox(i);
    box->hide();
    box->setChecked(false);
    box->SetDataField(QString());
  }
  for (int i = 1; i <= ControlPool::kBevels; ++i) pool.Bevel(i)->hide();
  for (int i = 1; i <= ControlPool::kButtons; ++i) pool.Button(i)->hide();
  r.id_map.fill(0);
  const TMainForm::LinkHooks& hooks = form.link_hooks();
  if (hooks.record_hook_off) hooks.record_hook_off();
  if (hooks.any_link && hooks.any_link()) pool.Memo1()->hide();
  pool.Memo1()->clear();
  pool.DirectoryEdit1()->hide();
  pool.TabControl1()->hide();
  pool.TabControl2()->hide();
  for (int i = 1; i <= ControlPool::kGrids; ++i) pool.DBGrid(i)->hide();
  pool.DBNavigator1()->hide();
  r.fill_counts.fill(0);
}

// The pool position that the last event's number was given; 0 for none. The
// words below then push a neutral value instead of reaching outside a pool.
int32_t LastEventPosition(ControlRegisters& r) {
  const int32_t* entry = r.IdMapEntry(r.last_event_tag);
  return entry ? *entry : 0;
}

std::string JoinedLines(const QPlainTextEdit* memo) {
  // Lines joined by CR LF; no line break after the last.
  QString text = memo->toPlainText();
  text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
  return engine::ToCp1251(text);
}

}  // namespace

void FormPage::ClearPage() { Sclear(form_); }

void FormPage::LockInput(bool locked) { form_.pool().LockInput(locked); }

int32_t FormPage::EventComboIndex() const {
  const StyledComboBox* box = form_.pool().ComboBox(LastEventPosition(form_.registers()));
  return box ? box->ItemIndex() : -1;
}

std::string FormPage::EventComboText() const {
  const StyledComboBox* box = form_.pool().ComboBox(LastEventPosition(form_.registers()));
  return box ? engine::ToCp1251(box->Text()) : std::string();
}

bool FormPage::EventBoxChecked() const {
  const QCheckBox* box = form_.pool().CheckBox(LastEventPosition(form_.registers()));
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
