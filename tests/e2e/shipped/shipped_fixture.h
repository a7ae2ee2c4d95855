// The zelt program on the shipped Setup.KVS against the simulated device, in
// a working folder of its own, with dialogs that answer by themselves. The
// tests click and type into the window as an operator does.
#pragma once

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QTreeWidget>
#include <memory>
#include <ostream>
#include <string>

#include "combo_box.h"
#include "dialogs.h"
#include "program_fixture.h"

// Readable failures for window texts.
inline void PrintTo(const QString& text, std::ostream* out) { *out << text.toStdString(); }

namespace shipped_e2e {

class AnsweringDialogs : public ui::Dialogs {
 public:
  void Message(const QString& text) override { shown << text; }
  void Warning(const QString& text) override {
    shown << text;
    warned << text;
  }
  bool MessageDlg(const QString& text) override {
    shown << text;
    return answer_yes;
  }
  std::optional<bool> MessageDlgCancel(const QString& text) override {
    shown << text;
    if (cancel) return std::nullopt;
    return answer_yes;
  }
  QString OpenDialog(const QString&) override { return chosen_file; }
  QString SaveDialog(const QString&) override { return chosen_file; }
  QString ChooseFolder(const QString&) override { return {}; }

  bool answer_yes = true;
  bool cancel = false;  // MessageDlgCancel answers Cancel
  QString chosen_file;
  QStringList shown;
  QStringList warned;  // shown with the warning icon
};

inline QString U(const char* utf8) { return QString::fromUtf8(utf8); }

class Shipped : public ::testing::Test {
 protected:
  // The simulator's memory may be changed before Start.
  void SetUp() override {
    previous_folder_ = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(folder_.path()));
    sim::SimulatorOptions options = device_e2e::FastDevice(folder_.filePath("port"));
    if (seed_ != 0) options.seed = seed_;
    simulator_ = std::make_unique<sim::DeviceSimulator>(options);
    ASSERT_TRUE(simulator_->Start(nullptr));
  }
  void TearDown() override {
    // The pages' lines leave nothing behind on the stack.
    if (program_) {
      EXPECT_EQ(program_->engine.Depth(), 0) << program_->engine.StackValue(1);
    }
    program_.reset();
    simulator_.reset();
    QDir::setCurrent(previous_folder_);
  }

  // The device's port; a test against a device outside the process names its own.
  virtual QString PortName() { return simulator_->PortPath(); }

  // Starts the program; its link is made but may not have answered yet.
  // `port_there`: whether the start-up finds the port (START runs only then).
  void Launch(bool port_there = true) {
    program_ = std::make_unique<device_e2e::Program>(QStringList{PortName()},
                                                     ZELT_SHIPPED_SCRIPT);
    form().SetDialogs(&dialogs_);
    form().show();
    ASSERT_EQ(program_->events->StartUp({}), port_there);
  }
  // Starts the program and waits for the link.
  void Start() {
    ASSERT_NO_FATAL_FAILURE(Launch());
    ASSERT_TRUE(device_e2e::WaitFor([&] { return program_->Connected(); }, 5000));
  }
  // Then waits for the read the pages start as soon as the device answers.
  void StartAndRead() {
    ASSERT_NO_FATAL_FAILURE(Start());
    ASSERT_TRUE(WaitStatus("Чтение из устройства завершено.", 30000)) << Status().toStdString();
    ASSERT_TRUE(WaitIdle());
  }
  // A read or write of the pages has ended (no transfer marked in cell 250).
  bool WaitTransferDone(int ms = 60000) {
    return device_e2e::WaitFor(
        [&] { return program_->engine.Cell(250) != "1" && Idle(); }, ms);
  }

  ui::TMainForm& form() { return program_->form; }
  sim::DeviceModel& device() { return simulator_->model(); }
  zlink::LinkRegistry& links() { return program_->device->links(); }
  QString Status() { return form().StatusText(); }

  bool WaitStatus(const char* utf8, int ms = 10000) {
    return device_e2e::WaitFor([&] { return Status() == U(utf8); }, ms);
  }
  // No device wait armed and nothing held back.
  bool Idle() {
    return !program_->events->wait().Armed() && program_->events->wait().pending_script().empty();
  }
  bool WaitIdle(int ms = 10000) {
    QTest::qWait(20);
    return device_e2e::WaitFor([&] { return Idle(); }, ms);
  }

  // A mouse click on the tree node with this caption.
  void ClickNode(const char* caption) {
    QTreeWidget* tree = form().TreeView();
    const QList<QTreeWidgetItem*> found =
        tree->findItems(U(caption), Qt::MatchExactly | Qt::MatchRecursive);
    ASSERT_EQ(found.size(), 1) << caption;
    tree->scrollToItem(found[0]);
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {},
                      tree->visualItemRect(found[0]).center());
    ASSERT_TRUE(WaitIdle());
  }

  // A shown page control whose text is the one given.
  template <typename T>
  T* Shown(const char* utf8) {
    for (T* widget : form().PanelSet()->findChildren<T*>()) {
      if (widget->isVisible() && widget->text() == U(utf8)) return widget;
    }
    return nullptr;
  }
  // The shown LIST or DROPDOWN combo box that offers this item.
  ui::StyledComboBox* ComboOffering(const char* utf8) {
    for (ui::StyledComboBox* box : form().PanelSet()->findChildren<ui::StyledComboBox*>()) {
      if (!box->isVisible()) continue;
      for (int i = 0; i < box->Count(); ++i) {
        if (box->ItemText(i) == U(utf8)) return box;
      }
    }
    return nullptr;
  }
  // The text of the label placed to the right of the caption, on its row.
  QString ValueBeside(const char* caption) {
    QLabel* label = Shown<QLabel>(caption);
    if (!label) return QStringLiteral("<no caption>");
    QLabel* best = nullptr;
    for (QLabel* other : form().PanelSet()->findChildren<QLabel*>()) {
      if (!other->isVisible() || other == label || other->y() != label->y()) continue;
      if (other->x() <= label->x()) continue;
      if (!best || other->x() < best->x()) best = other;
    }
    return best ? best->text() : QStringLiteral("<no value>");
  }
  void Click(QPushButton* button) {
    ASSERT_NE(button, nullptr);
    QTest::mouseClick(button, Qt::LeftButton);
  }
  tables::Tables& Tables() { return program_->program->tables(); }
  QTableView* PhoneGrid() { return Tables().DBGrid(1); }
  // The phone page's number field: an edit line.
  QLineEdit* NumberField() {
    for (ui::StyledComboBox* box : form().PanelSet()->findChildren<ui::StyledComboBox*>()) {
      if (box->isVisible() && box->style() == ui::StyledComboBox::Style::kSimple)
        return box->simple_edit();
    }
    return nullptr;
  }
  // The first shown label whose text starts with this.
  QString LabelStarting(const char* utf8) {
    for (QLabel* label : form().PanelSet()->findChildren<QLabel*>()) {
      if (label->isVisible() && label->text().startsWith(U(utf8))) return label->text();
    }
    return QStringLiteral("<no label>");
  }
  QString Cell(QTableView* grid, int row, int column) {
    return grid->model()->index(row, column).data().toString();
  }

  quint32 seed_ = 0;  // the simulator's random seed; 0 keeps its own
  QTemporaryDir folder_;
  QString previous_folder_;
  std::unique_ptr<sim::DeviceSimulator> simulator_;
  std::unique_ptr<device_e2e::Program> program_;
  AnsweringDialogs dialogs_;
};

}  // namespace shipped_e2e
