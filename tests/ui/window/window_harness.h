// A real TMainForm with an engine that knows the core and control words, and
// dialogs that answer by themselves.
#pragma once

#include <QString>
#include <QStringList>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "control_words.h"
#include "cp1251.h"
#include "engine.h"
#include "main_form.h"

namespace window_test {

class AnsweringDialogs : public ui::Dialogs {
 public:
  void Message(const QString& text) override { shown.push_back(text); }
  void Warning(const QString& text) override { warned.push_back(text); }
  bool MessageDlg(const QString& text) override {
    shown.push_back(text);
    return answer_yes;
  }
  QString OpenDialog(const QString& initial) override {
    initial_names.push_back(initial);
    return chosen_file;
  }
  QString SaveDialog(const QString& initial) override {
    initial_names.push_back(initial);
    return chosen_file;
  }
  QString ChooseFolder(const QString& start) override {
    initial_names.push_back(start);
    return chosen_folder;
  }

  bool answer_yes = false;
  QString chosen_file;
  QString chosen_folder;
  QStringList shown;
  QStringList warned;
  QStringList initial_names;
};

class WindowTest : public ::testing::Test {
 protected:
  WindowTest() : engine_(&form_) {
    engine::RegisterCoreWords(engine_);
    ui::RegisterControlWords(engine_, form_);
    form_.SetDialogs(&dialogs_);
  }

  void Run(const std::string& line) { engine_.ExecuteLine(line); }
  // The top of the stack, popped.
  std::string Top() { return engine_.Pop(); }
  ui::ControlRegisters& regs() { return form_.registers(); }
  ui::ControlPool& pool() { return form_.pool(); }

  ui::TMainForm form_;
  engine::Engine engine_;
  AnsweringDialogs dialogs_;
};

}  // namespace window_test
