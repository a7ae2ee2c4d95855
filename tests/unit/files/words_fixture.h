// An engine with the core and file words, run on real files in a temp folder.
#pragma once

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "engine.h"
#include "file_words.h"
#include "test_support.h"

namespace files_test {

class WordsTest : public ::testing::Test {
 protected:
  explicit WordsTest(files::FileDialogs* dialogs = nullptr) {
    engine::RegisterCoreWords(engine_);
    files::RegisterFileWords(engine_, state_, dialogs);
  }

  // Runs the line on an empty stack; the stack afterwards, bottom first.
  std::vector<std::string> Run(const std::string& line) {
    engine_.ClearStack();
    engine_.ExecuteLine(line);
    std::vector<std::string> stack;
    for (int i = 1; i <= engine_.Depth(); ++i) stack.push_back(engine_.StackValue(i));
    return stack;
  }
  // A file of the temp folder as a quoted group of the line.
  std::string Q(const std::string& leaf) { return "\"" + dir_.Name(leaf) + "\" "; }
  std::string Path(const std::string& leaf) { return dir_.Name(leaf); }

  TempDir dir_;
  engine::Engine engine_;
  files::FileWordsState state_;
};

using Stack = std::vector<std::string>;

}  // namespace files_test
