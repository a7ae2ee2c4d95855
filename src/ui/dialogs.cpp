#include "dialogs.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QSettings>
#include <memory>

namespace ui {

namespace {

// The scripts pass patterns such as "*.*" as the initial name: those are not
// preselected as a file name.
bool IsPattern(const QString& name) {
  return name.contains(QLatin1Char('*')) || name.contains(QLatin1Char('?'));
}

// "txt" for "Текст (*.txt);;Все файлы (*)": the suffix a bare name saved
// under the first filter gets.
QString FirstSuffix(const QString& filter) {
  static const QRegularExpression first(QStringLiteral("^[^(]*\\(\\*\\.(\\w+)[ )]"));
  const QRegularExpressionMatch match = first.match(filter);
  return match.hasMatch() ? match.captured(1) : QString();
}

constexpr char kLastFolderKey[] = "dialogs/last_folder";

std::unique_ptr<QSettings> UserSettings(const QString& file) {
  if (!file.isEmpty()) return std::make_unique<QSettings>(file, QSettings::IniFormat);
  return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                     QStringLiteral("zelt"), QStringLiteral("zelt"));
}

}  // namespace

void QtDialogs::Message(const QString& text) {
  QMessageBox box(QMessageBox::Information, parent_ ? parent_->windowTitle() : QString(), text,
                  QMessageBox::Ok, parent_);
  box.exec();
}

void QtDialogs::Warning(const QString& text) {
  QMessageBox box(QMessageBox::Warning, parent_ ? parent_->windowTitle() : QString(), text,
                  QMessageBox::Ok, parent_);
  box.exec();
}

bool QtDialogs::MessageDlg(const QString& text) {
  QMessageBox box(QMessageBox::Question, QStringLiteral("Подтверждение"), text,
                  QMessageBox::Yes | QMessageBox::No, parent_);
  box.button(QMessageBox::Yes)->setText(QStringLiteral("Да"));
  box.button(QMessageBox::No)->setText(QStringLiteral("Нет"));
  // Enter must never discard or delete: the default is No.
  box.setDefaultButton(QMessageBox::No);
  // Escape and the close button answer No.
  box.setEscapeButton(QMessageBox::No);
  box.exec();
  return box.clickedButton() == box.button(QMessageBox::Yes);
}

std::optional<bool> QtDialogs::MessageDlgCancel(const QString& text) {
  QMessageBox box(QMessageBox::Question, QStringLiteral("Подтверждение"), text,
                  QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, parent_);
  box.button(QMessageBox::Yes)->setText(QStringLiteral("Да"));
  box.button(QMessageBox::No)->setText(QStringLiteral("Нет"));
  box.button(QMessageBox::Cancel)->setText(QStringLiteral("Отмена"));
  // Enter, Escape and the close button change nothing.
  box.setDefaultButton(QMessageBox::Cancel);
  box.setEscapeButton(QMessageBox::Cancel);
  box.exec();
  if (box.clickedButton() == box.button(QMessageBox::Yes)) return true;
  if (box.clickedButton() == box.button(QMessageBox::No)) return false;
  return std::nullopt;
}

QString QtDialogs::OpenDialog(const QString& initial_name, const QString& filter) {
  return RunFileDialog(initial_name, filter, false);
}

QString QtDialogs::SaveDialog(const QString& initial_name, const QString& filter) {
  return RunFileDialog(initial_name, filter, true);
}

QString QtDialogs::LastFolder() const {
  const QString folder = UserSettings(settings_file_)->value(kLastFolderKey).toString();
  return !folder.isEmpty() && QFileInfo(folder).isDir() ? folder : QString();
}

void QtDialogs::RememberFolder(const QString& chosen_file) {
  UserSettings(settings_file_)->setValue(kLastFolderKey, QFileInfo(chosen_file).absolutePath());
}

QString QtDialogs::RunFileDialog(const QString& initial_name, const QString& filter, bool save) {
  QFileDialog dialog(parent_);
  dialog.setObjectName(QStringLiteral("FileDialog"));
  dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  if (!filter.isEmpty()) {
    dialog.setNameFilters(filter.split(QStringLiteral(";;"), Qt::SkipEmptyParts));
  } else if (!save) {
#ifdef Q_OS_WIN
    dialog.setNameFilter(QStringLiteral("Все файлы (*.*)"));
#else
    // "*.*" would hide names without a dot here; the caption stays the same.
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setNameFilter(QStringLiteral("Все файлы (*.*) (*)"));
#endif
  }
  if (const QString last = LastFolder(); !last.isEmpty()) dialog.setDirectory(last);
  if (!initial_name.isEmpty() && !IsPattern(initial_name)) {
    const QFileInfo info(initial_name);
    if (info.isAbsolute() || initial_name.contains(QLatin1Char('/')) ||
        initial_name.contains(QLatin1Char('\\'))) {
      dialog.setDirectory(info.absolutePath());
    }
    // An open dialog offers no name that is not there to open.
    if (save || QFileInfo(dialog.directory(), info.fileName()).exists()) {
      dialog.selectFile(info.fileName());
    }
  }
  if (save) dialog.setDefaultSuffix(FirstSuffix(filter));
  QString chosen;
  if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()) {
    chosen = QDir::toNativeSeparators(dialog.selectedFiles().first());
    RememberFolder(dialog.selectedFiles().first());
  }
  return chosen;
}

QString QtDialogs::ChooseFolder(const QString& start) {
  return QFileDialog::getExistingDirectory(parent_, QStringLiteral("Выбор папки"), start);
}

}  // namespace ui
