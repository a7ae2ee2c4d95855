// The engine a provisioning job runs the shipped definitions in: the engine's
// words, the file and settings-file words, the query words and PROGRESSPART.
// The device words come with a device session.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine.h"
#include "file_words.h"
#include "headless_tables.h"

namespace provision {

class JobEngine : private engine::Host {
 public:
  // `script`: the Setup.KVS whose definitions run; `tables`: the SQL store.
  explicit JobEngine(const std::string& script, const QString& tables = QStringLiteral("Tables.db"));
  ~JobEngine() override;

  engine::Engine& engine() { return engine_; }

  // Runs a line that waits for nothing on a stack of `arguments` (the last
  // on top) and takes the value it leaves on top.
  std::string Evaluate(const std::string& line, const std::vector<std::string>& arguments = {});
  // A cell as text, Windows-1251.
  const std::string& Cell(int index) { return engine_.Cell(index); }
  // Whether the script file defines the definition.
  bool Defines(const std::string& name);

  // The running read or write is at part `part` of `parts` (PROGRESSPART).
  std::function<void(int part, int parts)> on_part;
  const std::string& last_status() const { return last_status_; }

 private:
  void ShowStatus(const std::string& text) override { last_status_ = text; }

  engine::Engine engine_;
  files::FileWordsState files_;
  HeadlessTables tables_;
  std::string last_status_;
};

}  // namespace provision
