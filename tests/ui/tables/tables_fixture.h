// The real window with the control words, the event routing, the device
// stores, the file words and the table words, working in a temporary folder
// that holds Tables.db.
#pragma once

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>
#include <fstream>
#include <string>

#include "control_words.h"
#include "cp1251.h"
#include "device_stores.h"
#include "engine.h"
#include "event_router.h"
#include "file_words.h"
#include "main_form.h"
#include "tables.h"
#include "device_wait.h"

namespace tables_test {

class TablesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    old_dir_ = QDir::currentPath();
    QDir::setCurrent(dir_.path());
    engine::RegisterCoreWords(engine_);
    ui::RegisterControlWords(engine_, form_);
    files::RegisterFileWords(engine_, files_);
    tables::TablesWindow window;
    window.registers = &form_.registers();
    window.controls = &form_.controls();
    window.router = &router_;
    window.device = &device_;
    window.files = &files_;
    window.monitor = &form_;
    tables_ = tables::RegisterTableWords(engine_, window, &form_);
    form_.show();
    Run("SCLEAR");
  }

  void TearDown() override {
    delete tables_;
    QDir::setCurrent(old_dir_);
  }

  // Runs a line written in UTF-8.
  void Run(const std::string& line) { engine_.ExecuteLine(engine::Cp1251(line)); }

  // Pops the top value as UTF-8.
  std::string Pop() { return engine::Utf8FromCp1251(engine_.Pop()); }
  int Depth() const { return engine_.Depth(); }

  // Puts a statement into the item list and runs it with the given word.
  void Sql(const std::string& statement, const char* word = "QUERYEXEC") {
    Run("CLEARITEMS `" + statement + "` ADDITEMS " + word);
  }

  std::string Path(const char* name) const { return dir_.filePath(name).toStdString(); }
  void WriteFile(const char* name, const std::string& bytes) const {
    std::ofstream(Path(name), std::ios::binary) << bytes;
  }

  static void Settle() { QCoreApplication::processEvents(); }

  QTemporaryDir dir_;
  QString old_dir_;
  ui::TMainForm form_;
  engine::Engine engine_{&form_};
  device::DeviceWait wait_{engine_};
  ui::EventRouter router_{engine_, wait_, form_.page_model()};
  device::DeviceStores device_;
  files::FileWordsState files_;
  tables::Tables* tables_ = nullptr;
};

}  // namespace tables_test
