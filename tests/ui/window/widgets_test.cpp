// The window's own widgets and the real Qt dialogs, used as an operator would.
#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QListView>
#include <QMessageBox>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <fstream>

#include "combo_box.h"
#include "directory_edit.h"
#include "file_words.h"
#include "window_file_dialogs.h"
#include "window_harness.h"

namespace window_test {
namespace {

using ui::StyledComboBox;

StyledComboBox* FilledBox(QWidget* parent, StyledComboBox::Style style) {
  auto* box = new StyledComboBox(parent);
  box->SetStyle(style);
  box->Place(0, 0, 150, 90);
  for (const char* item : {"one", "two", "three"}) box->AddItem(item);
  return box;
}

TEST(StyledComboBox, OnlyTheOperatorRaisesChanged) {
  QWidget page;
  StyledComboBox* box = FilledBox(&page, StyledComboBox::Style::kDropDown);
  page.show();
  QSignalSpy changed(box, &StyledComboBox::Changed);
  EXPECT_EQ(box->ItemIndex(), -1);  // adding items selects nothing
  box->SetText("abc");
  box->SetItemIndex(1);
  EXPECT_EQ(box->Text(), "two");
  EXPECT_EQ(changed.count(), 0);

  box->combo()->lineEdit()->selectAll();
  QTest::keyClicks(box->combo()->lineEdit(), "xy");
  EXPECT_EQ(box->Text(), "xy");
  EXPECT_GE(changed.count(), 1);
}

// A value outside the range is marked; unmarked, the edit keeps the page's font.
TEST(StyledComboBox, AMarkedValueLeavesTheFontAsItWas) {
  QWidget page;
  QFont font = page.font();
  font.setPointSize(font.pointSize() + 5);
  page.setFont(font);
  StyledComboBox* box = FilledBox(&page, StyledComboBox::Style::kDropDown);
  box->SetNumberRange(0, 255);
  page.show();
  QLineEdit* edit = box->combo()->lineEdit();
  box->SetText("300");
  EXPECT_FALSE(box->Acceptable());
  EXPECT_NE(edit->palette().color(QPalette::Base), page.palette().color(QPalette::Base));
  box->SetText("30");
  EXPECT_TRUE(box->Acceptable());
  EXPECT_EQ(edit->palette().color(QPalette::Base), page.palette().color(QPalette::Base));
  EXPECT_EQ(edit->font().pointSize(), font.pointSize());
}

TEST(StyledComboBox, ListPicksWithTheKeyboard) {
  QWidget page;
  StyledComboBox* box = FilledBox(&page, StyledComboBox::Style::kList);
  page.show();
  box->SetText("three");
  EXPECT_EQ(box->ItemIndex(), 2);
  box->SetText("nothing like it");
  EXPECT_EQ(box->ItemIndex(), -1);
  box->SetItemIndex(0);
  QSignalSpy changed(box, &StyledComboBox::Changed);
  box->combo()->setFocus();
  QTest::keyClick(box->combo(), Qt::Key_Down);
  EXPECT_EQ(box->ItemIndex(), 1);
  EXPECT_EQ(box->Text(), "two");
  EXPECT_EQ(changed.count(), 1);
}

TEST(StyledComboBox, SimpleShowsItsListUnderTheEdit) {
  QWidget page;
  StyledComboBox* box = FilledBox(&page, StyledComboBox::Style::kSimple);
  page.show();
  QApplication::processEvents();
  EXPECT_EQ(box->height(), 90);
  EXPECT_TRUE(box->simple_list()->isVisible());
  EXPECT_GT(box->simple_list()->y(), box->simple_edit()->y());
  EXPECT_EQ(box->ItemIndex(), -1);

  QSignalSpy changed(box, &StyledComboBox::Changed);
  QListView* list = box->simple_list();
  const QRect item = list->visualRect(list->model()->index(2, 0));
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, item.center());
  EXPECT_EQ(box->ItemIndex(), 2);
  EXPECT_EQ(box->Text(), "three");
  EXPECT_EQ(changed.count(), 1);

  QTest::keyClicks(box->simple_edit(), "!");
  EXPECT_EQ(box->Text(), "three!");
  EXPECT_EQ(changed.count(), 2);

  // Switching style keeps the text in the edit field.
  box->SetStyle(StyledComboBox::Style::kDropDown);
  EXPECT_EQ(box->Text(), "three!");
  EXPECT_FALSE(box->simple_list()->isVisible());
}

TEST_F(WindowTest, FolderButtonAsksTheChooser) {
  Run("SCLEAR /start TEXT DIR");
  ui::DirectoryEdit* dir = pool().DirectoryEdit1();
  QSignalSpy changed(dir, &ui::DirectoryEdit::Changed);
  dialogs_.chosen_folder = "/picked/folder";
  QTest::mouseClick(dir->button(), Qt::LeftButton);
  EXPECT_EQ(dialogs_.initial_names.value(0), "/start");
  EXPECT_EQ(dir->Text(), QDir::toNativeSeparators("/picked/folder"));
  EXPECT_EQ(changed.count(), 1);
  dialogs_.chosen_folder.clear();
  QTest::mouseClick(dir->button(), Qt::LeftButton);
  EXPECT_EQ(dir->Text(), QDir::toNativeSeparators("/picked/folder"));
}

// Answers the next modal window with `act` as soon as it is open.
template <typename Window>
void WhenModal(std::function<void(Window*)> act) {
  QTimer::singleShot(0, [act] {
    auto* window = qobject_cast<Window*>(QApplication::activeModalWidget());
    if (window) {
      act(window);
    } else {
      WhenModal<Window>(act);
    }
  });
}

TEST(QtDialogs, MessageDlgAnswersYesOnlyForYes) {
  QWidget parent;
  ui::QtDialogs dialogs(&parent);
  WhenModal<QMessageBox>([](QMessageBox* box) { box->button(QMessageBox::Yes)->click(); });
  EXPECT_TRUE(dialogs.MessageDlg("Записать?"));
  WhenModal<QMessageBox>([](QMessageBox* box) { box->button(QMessageBox::No)->click(); });
  EXPECT_FALSE(dialogs.MessageDlg("Записать?"));
  WhenModal<QMessageBox>([](QMessageBox* box) { box->close(); });
  EXPECT_FALSE(dialogs.MessageDlg("Записать?"));
  WhenModal<QMessageBox>([](QMessageBox* box) {
    EXPECT_EQ(box->text(), "Готово");
    EXPECT_EQ(box->icon(), QMessageBox::Information);
    box->accept();
  });
  dialogs.Message("Готово");
}

TEST(QtDialogs, MessageDlgCancelTellsItsThreeAnswersApart) {
  QWidget parent;
  ui::QtDialogs dialogs(&parent);
  WhenModal<QMessageBox>([](QMessageBox* box) { box->button(QMessageBox::Yes)->click(); });
  EXPECT_EQ(dialogs.MessageDlgCancel("Заменить?"), std::optional<bool>(true));
  WhenModal<QMessageBox>([](QMessageBox* box) { box->button(QMessageBox::No)->click(); });
  EXPECT_EQ(dialogs.MessageDlgCancel("Заменить?"), std::optional<bool>(false));
  // Enter takes the default, which changes nothing.
  WhenModal<QMessageBox>([](QMessageBox* box) {
    EXPECT_EQ(box->button(QMessageBox::Cancel)->text(), "Отмена");
    QTest::keyClick(box, Qt::Key_Return);
  });
  EXPECT_EQ(dialogs.MessageDlgCancel("Заменить?"), std::nullopt);
  WhenModal<QMessageBox>([](QMessageBox* box) { box->close(); });
  EXPECT_EQ(dialogs.MessageDlgCancel("Заменить?"), std::nullopt);
}

TEST(QtDialogs, TimersKeepFiringWhileAMessageIsOpen) {
  QWidget parent;
  ui::QtDialogs dialogs(&parent);
  // The third tick closes the message: it can only come while the box is open.
  // A slow machine merely takes longer; the far timer ends a hung wait.
  int ticks = 0;
  QTimer timer;
  QObject::connect(&timer, &QTimer::timeout, [&ticks] {
    QWidget* box = QApplication::activeModalWidget();
    if (box && ++ticks == 3) box->close();
  });
  timer.start(5);
  QTimer::singleShot(20000, [] {
    if (QWidget* w = QApplication::activeModalWidget()) w->close();
  });
  dialogs.Message("wait");
  EXPECT_EQ(ticks, 3);
}

TEST(QtDialogs, OpenDialogGivesTheChosenFileOrNothing) {
  QTemporaryDir dir;
  const QString file = dir.filePath("image.bin");
  std::ofstream(file.toStdString()) << "x";
  QWidget parent;
  ui::QtDialogs dialogs(&parent);
  WhenModal<QFileDialog>([file](QFileDialog* d) {
    EXPECT_EQ(d->acceptMode(), QFileDialog::AcceptOpen);
    EXPECT_TRUE(d->nameFilters().join("").startsWith(QStringLiteral("Все файлы (*.*)")));
    d->selectFile(file);
    QMetaObject::invokeMethod(d, "accept");
  });
  EXPECT_EQ(dialogs.OpenDialog("*.*"), QDir::toNativeSeparators(file));
  WhenModal<QFileDialog>([](QFileDialog* d) { d->reject(); });
  EXPECT_EQ(dialogs.OpenDialog(file), "");
  WhenModal<QFileDialog>([](QFileDialog* d) {
    EXPECT_EQ(d->acceptMode(), QFileDialog::AcceptSave);
    QMetaObject::invokeMethod(d, "accept");
  });
  EXPECT_EQ(dialogs.SaveDialog(dir.filePath("new.bin")),
            QDir::toNativeSeparators(dir.filePath("new.bin")));
}

TEST_F(WindowTest, OpenDlgAndWriteDlgReachTheWindowDialogs) {
  files::FileWordsState state;
  ui::WindowFileDialogs file_dialogs(form_);
  files::RegisterFileWords(engine_, state, &file_dialogs);
  dialogs_.chosen_file = QStringLiteral("/tmp/Архив.bin");
  Run("*.* OPENDLG");
  EXPECT_EQ(Top(), engine::Cp1251("/tmp/Архив.bin"));
  EXPECT_EQ(dialogs_.initial_names.value(0), "*.*");
  dialogs_.chosen_file.clear();
  Run("out.bin WRITEDLG");
  EXPECT_EQ(Top(), "");
  EXPECT_EQ(engine_.Depth(), 0);
}

// Enter in the edit field is an operator's change with the text as it was,
// except where it picks an item of a DROPDOWN box (that is one change already).
TEST(StyledComboBox, EnterInTheEditRaisesTheChange) {
  QWidget page;
  StyledComboBox* simple = FilledBox(&page, StyledComboBox::Style::kSimple);
  StyledComboBox* drop = FilledBox(&page, StyledComboBox::Style::kDropDown);
  page.show();
  QApplication::processEvents();

  QSignalSpy simple_changed(simple, &StyledComboBox::Changed);
  QTest::keyClicks(simple->simple_edit(), "555");
  QTest::keyClick(simple->simple_edit(), Qt::Key_Return);
  EXPECT_EQ(simple_changed.count(), 4);
  EXPECT_EQ(simple->Text(), "555");

  QSignalSpy drop_changed(drop, &StyledComboBox::Changed);
  QLineEdit* edit = drop->combo()->lineEdit();
  QTest::keyClicks(edit, "x");
  QTest::keyClick(edit, Qt::Key_Return);
  EXPECT_EQ(drop_changed.count(), 2);
  edit->selectAll();
  QTest::keyClicks(edit, "two");
  const int typed = drop_changed.count();
  QTest::keyClick(edit, Qt::Key_Return);
  EXPECT_EQ(drop_changed.count(), typed + 1);
  EXPECT_EQ(drop->Text(), "two");
}

}  // namespace
}  // namespace window_test
