// The modal windows of the scripts. TMainForm owns a Qt implementation; tests
// install one that answers by itself. Texts are QString: the words convert.
#pragma once

#include <QString>
#include <optional>

class QWidget;

namespace ui {

class Dialogs {
 public:
  virtual ~Dialogs() = default;
  // Information with an OK button.
  virtual void Message(const QString& text) = 0;
  // A failure: the same with the warning icon.
  virtual void Warning(const QString& text) { Message(text); }
  // Question with Yes and No; true only for Yes.
  virtual bool MessageDlg(const QString& text) = 0;
  // Question with Yes, No and Cancel; nothing for Cancel. Unless overridden,
  // there is no Cancel.
  virtual std::optional<bool> MessageDlgCancel(const QString& text) { return MessageDlg(text); }
  // Full name of the chosen file, or "" when cancelled.
  virtual QString OpenDialog(const QString& initial_name) = 0;
  virtual QString SaveDialog(const QString& initial_name) = 0;
  // The same offering `filter`, Qt style ("CSV (*.csv);;Все файлы (*)"); an
  // empty filter keeps the dialog's own. Unless overridden, the filter is not
  // looked at.
  virtual QString OpenDialog(const QString& initial_name, const QString& /*filter*/) {
    return OpenDialog(initial_name);
  }
  virtual QString SaveDialog(const QString& initial_name, const QString& /*filter*/) {
    return SaveDialog(initial_name);
  }
  // Folder chooser of DirectoryEdit1; "" when cancelled.
  virtual QString ChooseFolder(const QString& start) = 0;
};

// Real Qt dialogs, modal to the parent; each runs a nested event loop, so the
// timers keep firing while the operator answers.
class QtDialogs : public Dialogs {
 public:
  explicit QtDialogs(QWidget* parent) : parent_(parent) {}

  void Message(const QString& text) override;
  void Warning(const QString& text) override;
  bool MessageDlg(const QString& text) override;
  std::optional<bool> MessageDlgCancel(const QString& text) override;
  QString OpenDialog(const QString& initial_name) override { return OpenDialog(initial_name, {}); }
  QString SaveDialog(const QString& initial_name) override { return SaveDialog(initial_name, {}); }
  QString OpenDialog(const QString& initial_name, const QString& filter) override;
  QString SaveDialog(const QString& initial_name, const QString& filter) override;
  QString ChooseFolder(const QString& start) override;

  // The file dialogs open in the folder the operator used last; it is kept in
  // the program's user settings (this file; by default zelt.ini in the user's
  // configuration folder).
  void SetSettingsFile(const QString& path) { settings_file_ = path; }
  QString LastFolder() const;

 private:
  QString RunFileDialog(const QString& initial_name, const QString& filter, bool save);
  void RememberFolder(const QString& chosen_file);

  QWidget* parent_;
  QString settings_file_;
};

}  // namespace ui
