// The real file dialogs: Qt's Russian texts, the script's filter, and the
// folder used last kept in the user settings.
#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>

#include "dialogs.h"
#include "window_harness.h"

namespace window_test {
namespace {

// Runs `look` on the file dialog once it is open, then answers it.
void WhenOpen(std::function<void(QFileDialog&)> look) {
  auto* poll = new QTimer;
  poll->setInterval(10);
  QObject::connect(poll, &QTimer::timeout, [poll, look] {
    for (QWidget* top : QApplication::topLevelWidgets()) {
      auto* dialog = qobject_cast<QFileDialog*>(top);
      if (!dialog || !dialog->isVisible()) continue;
      poll->stop();
      poll->deleteLater();
      look(*dialog);
      return;
    }
  });
  poll->start();
}

class FileDialogTest : public ::testing::Test {
 protected:
  FileDialogTest() { dialogs_.SetSettingsFile(settings_.filePath("zelt.ini")); }
  QTemporaryDir settings_;
  QTemporaryDir files_;
  QWidget parent_;
  ui::QtDialogs dialogs_{&parent_};
};

TEST_F(FileDialogTest, RussianButtonsScriptFilterAndLastFolder) {
  QString cancel_text, accept_text;
  QStringList filters;
  WhenOpen([&](QFileDialog& dialog) {
    QDialogButtonBox* buttons = dialog.findChild<QDialogButtonBox*>();
    ASSERT_NE(buttons, nullptr);
    cancel_text = buttons->button(QDialogButtonBox::Cancel)->text();
    accept_text = buttons->buttons().value(0)->text();
    filters = dialog.nameFilters();
    dialog.reject();
  });
  EXPECT_EQ(dialogs_.SaveDialog(QStringLiteral("out.csv"), QStringLiteral("CSV (*.csv);;Все файлы (*)")),
            QString());
  EXPECT_EQ(cancel_text.remove(QLatin1Char('&')), QStringLiteral("Отмена"));
  EXPECT_FALSE(accept_text.isEmpty());
  EXPECT_EQ(filters, (QStringList{"CSV (*.csv)", "Все файлы (*)"}));
  EXPECT_TRUE(dialogs_.LastFolder().isEmpty());  // cancelled: nothing remembered

  // The operator saves into a folder of their own ...
  const QString chosen = files_.filePath("script.txt");
  WhenOpen([&](QFileDialog& dialog) {
    dialog.selectFile(chosen);
    static_cast<QDialog&>(dialog).accept();
  });
  EXPECT_EQ(dialogs_.SaveDialog(QStringLiteral("script.txt")), QDir::toNativeSeparators(chosen));
  EXPECT_EQ(dialogs_.LastFolder(), files_.path());

  // ... and the next dialog, another run of the program even, opens there.
  ui::QtDialogs later(&parent_);
  later.SetSettingsFile(settings_.filePath("zelt.ini"));
  QString opened_in;
  WhenOpen([&](QFileDialog& dialog) {
    opened_in = dialog.directory().absolutePath();
    filters = dialog.nameFilters();
    dialog.reject();
  });
  EXPECT_EQ(later.OpenDialog(QStringLiteral("*.*")), QString());
  EXPECT_EQ(opened_in, files_.path());
  EXPECT_EQ(filters.size(), 1);  // without a filter: the designed "all files"
}

TEST_F(FileDialogTest, OpenOffersOnlyNamesThereAndABareSavedNameGetsTheFiltersSuffix) {
  QDir::setCurrent(files_.path());
  QString offered = QStringLiteral("<not looked>");
  WhenOpen([&](QFileDialog& dialog) {
    offered = dialog.selectedFiles().value(0);
    dialog.reject();
  });
  dialogs_.OpenDialog(files_.filePath("script.txt"), QStringLiteral("Текст (*.txt)"));
  EXPECT_FALSE(offered.endsWith(QStringLiteral("script.txt"))) << offered.toStdString();

  WhenOpen([&](QFileDialog& dialog) {
    auto* name = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    ASSERT_NE(name, nullptr);
    name->setText(files_.filePath("notes"));  // typed without a suffix
    static_cast<QDialog&>(dialog).accept();
  });
  EXPECT_EQ(dialogs_.SaveDialog(QStringLiteral("script.txt"), QStringLiteral("Текст (*.txt);;Все файлы (*)")),
            QDir::toNativeSeparators(files_.filePath("notes.txt")));
}

TEST_F(FileDialogTest, EnterInAQuestionAnswersNo) {
  auto* poll = new QTimer;
  poll->setInterval(10);
  QObject::connect(poll, &QTimer::timeout, [poll] {
    for (QWidget* top : QApplication::topLevelWidgets()) {
      auto* box = qobject_cast<QMessageBox*>(top);
      if (!box || !box->isVisible()) continue;
      poll->stop();
      poll->deleteLater();
      QTest::keyClick(box, Qt::Key_Return);
      return;
    }
  });
  poll->start();
  EXPECT_FALSE(dialogs_.MessageDlg(QStringLiteral("Удалить номер 112 из телефонной книги?")));
}

}  // namespace
}  // namespace window_test
