#include "dialogs.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>

namespace ui {

namespace {

// The scripts pass patterns such as "*.*" as the initial name: those are not
// preselected as a file name.
bool IsPattern(const QString& name) {
  return name.contains(QLatin1Char('*')) || name.contains(QLatin1Char('?'));
}

QString RunFileDialog(QWidget* parent, const QString& initial_name, bool save) {
  QFileDialog box(parent);
  QFileDialog* dialog = &box;
  dialog->setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog->setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  if (!save) {
#ifdef Q_OS_WIN
    dialog->setNameFilter(QStringLiteral("Все файлы (*.*)"));
#else
    // "*.*" would hide names without a dot here; the caption stays the same.
    dialog->setOption(QFileDialog::HideNameFilterDetails);
    dialog->setNameFilter(QStringLiteral("Все файлы (*.*) (*)"));
#endif
  }
  if (!initial_name.isEmpty() && !IsPattern(initial_name)) {
    const QFileInfo info(initial_name);
    if (info.isAbsolute() || initial_name.contains(QLatin1Char('/')) ||
        initial_name.contains(QLatin1Char('\\'))) {
      dialog->setDirectory(info.absolutePath());
    }
    dialog->selectFile(info.fileName());
  }
  QString chosen;
  if (dialog->exec() == QDialog::Accepted && !dialog->selectedFiles().isEmpty()) {
    chosen = QDir::toNativeSeparators(dialog->selectedFiles().first());
  }
  return chosen;
}

}  // namespace

void QtDialogs::Message(const QString& text) {
  QMessageBox box(QMessageBox::Information, parent_ ? parent_->windowTitle() : QString(), text,
                  QMessageBox::Ok, parent_);
  box.exec();
}

bool QtDialogs::MessageDlg(const QString& text) {
  QMessageBox box(QMessageBox::Question, QStringLiteral("Подтверждение"), text,
                  QMessageBox::Yes | QMessageBox::No, parent_);
  box.button(QMessageBox::Yes)->setText(QStringLiteral("Да"));
  box.button(QMessageBox::No)->setText(QStringLiteral("Нет"));
  box.setDefaultButton(QMessageBox::Yes);
  // Escape and the close button answer No.
  box.setEscapeButton(QMessageBox::No);
  box.exec();
  return box.clickedButton() == box.button(QMessageBox::Yes);
}

QString QtDialogs::OpenDialog(const QString& initial_name) {
  return RunFileDialog(parent_, initial_name, false);
}

QString QtDialogs::SaveDialog(const QString& initial_name) {
  return RunFileDialog(parent_, initial_name, true);
}

QString QtDialogs::ChooseFolder(const QString& start) {
  return QFileDialog::getExistingDirectory(parent_, QStringLiteral("Выбор папки"), start);
}

}  // namespace ui
