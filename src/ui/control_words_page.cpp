// SCLEAR, the words that read controls back inside event scripts, the level
// bar and the message windows.
#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>

#include "combo_box.h"
#include "control_words.h"
#include "db_check_box.h"
#include "directory_edit.h"
#include "level_image.h"
#include "main_form.h"
#include "window_text.h"

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

std::string MemoText(const QPlainTextEdit* memo) {
  // Lines joined by CR LF; no line break after the last.
  QString text = memo->toPlainText();
  text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
  return ToCp1251(text);
}

}  // namespace

void RegisterPageWords(engine::Engine& engine, TMainForm& form) {
  engine::WordGroup group(engine, "Window: the page and its controls");
  TMainForm* f = &form;
  ControlRegisters& r = form.registers();

  engine.Document("SCLEAR", "--",
                  "Hides every control of the page and numbers controls afresh from 1; the "
                  "pending properties stay.");
  engine.Register("SCLEAR", [f](engine::Engine&, engine::Frame&) { Sclear(*f); });

  engine.Document("READONLY", "flag --",
                  "flag not 0: the page's memo, combo boxes, check boxes and folder field take no "
                  "input until 0 READONLY; buttons, grids and the tree still work.");
  engine.Register("READONLY", [f](engine::Engine& e, engine::Frame&) {
    f->pool().LockInput(e.PopNumber() != 0);
  });

  engine.Document("SELECTED", "-- n",
                  "Selected item (from 0, -1 for none) of the combo box whose event runs.");
  engine.Register("SELECTED", [f, &r](engine::Engine& e, engine::Frame&) {
    const StyledComboBox* box = f->pool().ComboBox(LastEventPosition(r));
    e.Push(engine::NumberToText(box ? box->ItemIndex() : -1));
  });
  engine.Document("ETEXT", "-- text", "Text of the combo box whose event runs.");
  engine.Register("ETEXT", [f, &r](engine::Engine& e, engine::Frame&) {
    const StyledComboBox* box = f->pool().ComboBox(LastEventPosition(r));
    e.Push(box ? ToCp1251(box->Text()) : std::string());
  });
  engine.Document("CHECKED", "-- flag",
                  "255 when the check box whose event runs is ticked, else 0.");
  engine.Register("CHECKED", [f, &r](engine::Engine& e, engine::Frame&) {
    const QCheckBox* box = f->pool().CheckBox(LastEventPosition(r));
    e.Push(engine::Truth(box && box->isChecked()));
  });

  engine.Document("EDIR", "-- dir",
                  "Text of the folder field, ending in a backslash when not empty.");
  engine.Register("EDIR", [f](engine::Engine& e, engine::Frame&) {
    std::string text = ToCp1251(f->pool().DirectoryEdit1()->Text());
    if (!text.empty() && text.back() != '\\') text.push_back('\\');
    e.Push(text);
  });
  engine.Document("EMEMO", "-- text", "Whole text of the memo, lines joined with CR LF.");
  engine.Register("EMEMO", [f](engine::Engine& e, engine::Frame&) {
    e.Push(MemoText(f->pool().Memo1()));
  });

  engine.Document("INDLEVEL", "level --",
                  "Draws the signal level bar at LEFT, TOP of its picture.");
  engine.Register("INDLEVEL", [f, &r](engine::Engine& e, engine::Frame&) {
    const engine::Value level = e.Pop();
    f->pool().Image1()->show();
    const std::optional<int32_t> number = engine::ToNumber(level);
    if (!number) throw engine::Fault{};
    f->DrawLevelBar(r.left, r.top, *number);
  });

  // The dialogs run a nested event loop: timers may run lines meanwhile, so
  // nothing taken from the engine is held across them.
  engine.Document("MESSAGE", "text --", "Shows text in a message window and waits for OK.");
  engine.Register("MESSAGE", [f](engine::Engine& e, engine::Frame&) {
    const QString text = FromCp1251(e.Pop());
    f->dialogs().Message(text);
  });
  engine.Document("WARNING", "text --",
                  "Shows text in a message window with the warning icon and waits for OK.");
  engine.Register("WARNING", [f](engine::Engine& e, engine::Frame&) {
    const QString text = FromCp1251(e.Pop());
    f->dialogs().Warning(text);
  });
  engine.Document("MESSAGEDLG", "text -- flag", "Asks text with Yes and No; 255 for Yes, else 0.");
  engine.Register("MESSAGEDLG", [f](engine::Engine& e, engine::Frame&) {
    const QString text = FromCp1251(e.Pop());
    const bool yes = f->dialogs().MessageDlg(text);
    e.Push(engine::Truth(yes));
  });
  engine.Document("MESSAGEDLGC", "text -- n",
                  "Asks text with Yes, No and Cancel; 255 for Yes, 0 for No, -1 for Cancel "
                  "(also Esc, closing the window and Enter).");
  engine.Register("MESSAGEDLGC", [f](engine::Engine& e, engine::Frame&) {
    const QString text = FromCp1251(e.Pop());
    const std::optional<bool> answer = f->dialogs().MessageDlgCancel(text);
    e.Push(answer ? engine::Truth(*answer) : "-1");
  });
}

}  // namespace ui
