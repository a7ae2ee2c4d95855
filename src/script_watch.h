// zelt --watch: when Setup.KVS changes on disk the program reads it again,
// clears the page and runs the selected node's page anew (START when the tree
// changed), keeping the link and the values read from the device. The status
// bar says so, with the first problem the checker finds.
#pragma once

#include <QFileSystemWatcher>
#include <QObject>
#include <QTimer>
#include <string>

namespace engine {
class Engine;
}
namespace ui {
class EventSystem;
class TMainForm;
}  // namespace ui

namespace zelt {

class ScriptWatch : public QObject {
  Q_OBJECT

 public:
  ScriptWatch(engine::Engine& engine, ui::EventSystem& events, ui::TMainForm& form);

  // Watches the engine's script file from now on; its present text is the
  // one the pages run.
  void Start();
  int reloads() const { return reloads_; }

 signals:
  void Reloaded();

 private:
  void Changed();
  void Reload();
  void RunPages(bool tree_changed);

  engine::Engine& engine_;
  ui::EventSystem& events_;
  ui::TMainForm& form_;
  QString path_;
  QFileSystemWatcher watcher_;
  QTimer settle_;  // editors write a file in several steps
  std::string text_;
  int reloads_ = 0;
};

}  // namespace zelt
