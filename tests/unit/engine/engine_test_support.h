// A real engine with every core word, run in a fresh temporary directory so that
// Setup.KVS and KVSmon.Log are the test's own.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "../../support/temp_folder.h"
#include "cp1251.h"
#include "engine.h"

namespace engine_test {

using engine::Cp1251;

class RecordingHost : public engine::Host {
 public:
  void ShowStatus(const std::string& text) override { statuses.push_back(text); }
  void AddMemoLine(engine::Memo memo, const std::string& line) override {
    if (memo == engine::Memo::kEvents) events.push_back(line);
  }
  void ShowCursor(engine::Cursor cursor) override { cursors.push_back(cursor); }
  void SetSettingsPanel(bool on) override { panel.push_back(on); }

  std::vector<std::string> statuses;
  std::vector<std::string> events;
  std::vector<engine::Cursor> cursors;
  std::vector<bool> panel;
};

class EngineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    old_dir_ = std::filesystem::current_path();
    dir_ = test_support::NewTempFolder("zelt-engine-");
    std::filesystem::current_path(dir_);
    engine::RegisterCoreWords(e_);
  }
  void TearDown() override {
    std::filesystem::current_path(old_dir_);
    std::error_code ignored;
    std::filesystem::remove_all(dir_, ignored);
  }

  // Runs a UTF-8 line as Windows-1251.
  void Run(const std::string& utf8_line) { e_.ExecuteLine(Cp1251(utf8_line)); }

  // The stack, bottom first.
  std::vector<std::string> Stack() const {
    std::vector<std::string> values;
    for (int slot = 1; slot <= e_.Depth(); ++slot) values.push_back(e_.StackValue(slot));
    return values;
  }

  // Runs a line on an emptied stack and returns the stack it leaves.
  std::vector<std::string> After(const std::string& utf8_line) {
    e_.ClearStack();
    Run(utf8_line);
    return Stack();
  }

  void WriteScript(const std::string& bytes) {
    std::ofstream out("Setup.KVS", std::ios::binary);
    out << bytes;
  }

  // KVSmon.Log split at CR LF.
  std::vector<std::string> TraceLines() const {
    std::ifstream in("KVSmon.Log", std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<std::string> lines;
    size_t from = 0;
    for (size_t at; (at = text.find("\r\n", from)) != std::string::npos; from = at + 2)
      lines.push_back(text.substr(from, at - from));
    EXPECT_EQ(from, text.size()) << "trace log ends without CR LF";
    return lines;
  }

  RecordingHost host_;
  engine::Engine e_{&host_};
  std::filesystem::path dir_;
  std::filesystem::path old_dir_;
};

using Values = std::vector<std::string>;

}  // namespace engine_test
