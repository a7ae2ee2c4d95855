// The modal windows of the scripts. TMainForm owns a Qt implementation; tests
// install one that answers by itself. Texts are QString: the words convert.
#pragma once

#include <QString>

class QWidget;

namespace ui {

class Dialogs {
 public:
  virtual ~Dialogs() = default;
  // Information with an OK button.
  virtual void Message(const QString& text) = 0;
  // Question with Yes and No; true only for Yes.
  virtual bool MessageDlg(const QString& text) = 0;
  // Full name of the chosen file, or "" when cancelled.
  virtual QString OpenDialog(const QString& initial_name) = 0;
  virtual QString SaveDialog(const QString& initial_name) = 0;
  // Folder chooser of DirectoryEdit1; "" when cancelled.
  virtual QString ChooseFolder(const QString& start) = 0;
};

// Real Qt dialogs, modal to the parent; each runs a nested event loop, so the
// timers keep firing while the operator answers.
class QtDialogs : public Dialogs {
 public:
  explicit QtDialogs(QWidget* parent) : parent_(parent) {}

  void Message(const QString& text) override;
  bool MessageDlg(const QString& text) override;
  QString OpenDialog(const QString& initial_name) override;
  QString SaveDialog(const QString& initial_name) override;
  QString ChooseFolder(const QString& start) override;

 private:
  QWidget* parent_;
};

}  // namespace ui
