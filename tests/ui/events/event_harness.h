// Shared pieces of the event tests: a script file in a temporary folder and a
// word that records the order in which scripts ran.
#pragma once

#include <QTemporaryDir>
#include <fstream>
#include <string>
#include <vector>

#include "engine.h"

namespace ui_test {

// Writes Setup.KVS from (name, body) pairs with CR LF line ends and points the
// engine at it.
class ScriptFolder {
 public:
  void Write(engine::Engine& engine,
             const std::vector<std::pair<std::string, std::string>>& definitions) {
    std::string text;
    for (const auto& [name, body] : definitions) {
      text += ":" + name + "\r\n" + body + "\r\n;\r\n";
    }
    const std::string path = dir_.filePath("Setup.KVS").toStdString();
    std::ofstream(path, std::ios::binary) << text;
    engine.script_file().SetPath(path);
    engine.script_file().Reset();
  }
  std::string Path(const char* name) const { return dir_.filePath(name).toStdString(); }
  QString Dir() const { return dir_.path(); }

 private:
  QTemporaryDir dir_;
};

// MARK pops a value and appends it to the trail: the order of events made
// visible without reading widgets.
inline void RegisterMark(engine::Engine& engine, std::vector<std::string>& trail) {
  engine.Register("MARK", [&trail](engine::Engine& e, engine::Frame&) {
    trail.push_back(e.Pop());
  });
}

inline std::string Joined(const std::vector<std::string>& trail) {
  std::string text;
  for (const auto& item : trail) {
    if (!text.empty()) text += ' ';
    text += item;
  }
  return text;
}

}  // namespace ui_test
