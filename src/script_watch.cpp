#include "script_watch.h"

#include <QFile>
#include <QFileInfo>
#include <array>
#include <cstdio>
#include <map>

#include "checker.h"
#include "cp1251.h"
#include "engine.h"
#include "event_system.h"
#include "guarded.h"
#include "main_form.h"
#include "script_text.h"

namespace zelt {
namespace {

constexpr int kSettleMs = 150;

std::string ReadAll(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  const QByteArray bytes = file.readAll();
  return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
}

// The bodies that build the tree: START and every definition with a tree word.
std::map<std::string, std::string> TreeBuilders(const std::string& text) {
  static const std::array<const char*, 5> kTreeWords = {"CLEARTREE", "ADDTREE", "CHILD", "ADDCHILD",
                                                        "NODE"};
  std::map<std::string, std::string> builders;
  for (const check::Definition& d : check::FindDefinitions(text)) {
    if (builders.count(d.name)) continue;
    bool builds = d.name == "START";
    for (const check::Token& token : check::Tokenize(d.body, true)) {
      for (const char* word : kTreeWords)
        builds = builds || (token.kind == check::TokenKind::kWord && token.text == word);
    }
    if (builds) builders[d.name] = d.body;
  }
  return builders;
}

}  // namespace

ScriptWatch::ScriptWatch(engine::Engine& engine, ui::EventSystem& events, ui::TMainForm& form)
    : QObject(&form), engine_(engine), events_(events), form_(form) {
  settle_.setSingleShot(true);
  settle_.setInterval(kSettleMs);
  connect(&settle_, &QTimer::timeout, this, [this] { Guarded([this] { Reload(); }); });
  connect(&watcher_, &QFileSystemWatcher::fileChanged, this, &ScriptWatch::Changed);
  connect(&watcher_, &QFileSystemWatcher::directoryChanged, this, &ScriptWatch::Changed);
}

void ScriptWatch::Start() {
  path_ = QFileInfo(QString::fromStdString(engine_.script_file().path())).absoluteFilePath();
  text_ = ReadAll(path_);
  // The folder too: an editor that saves by renaming replaces the file.
  watcher_.addPath(QFileInfo(path_).absolutePath());
  if (QFileInfo::exists(path_)) watcher_.addPath(path_);
}

void ScriptWatch::Changed() {
  if (QFileInfo::exists(path_) && !watcher_.files().contains(path_)) watcher_.addPath(path_);
  settle_.start();
}

void ScriptWatch::Reload() {
  // Never under a running line or a device exchange: try again shortly.
  if (engine_.busy() || events_.wait().Armed()) {
    settle_.start();
    return;
  }
  // A file gone for a moment (an editor saving by renaming) is waited for.
  if (!QFileInfo::exists(path_)) return;
  const std::string text = ReadAll(path_);
  if (text == text_) return;
  const bool tree_changed = TreeBuilders(text) != TreeBuilders(text_);
  text_ = text;
  engine_.script_file().Reset();
  RunPages(tree_changed);

  const std::string name = QFileInfo(path_).fileName().toStdString();
  std::string status = engine::Cp1251(name + " перечитан.");
  const std::vector<check::Problem> problems = check::CheckScript(text, engine_.reference());
  // All of them on the terminal too, where an editor can pick them up.
  for (const check::Problem& problem : problems) {
    const std::string line = engine::Utf8FromCp1251(check::FormatProblem("", problem));
    std::fprintf(stderr, "%s%s\n", path_.toStdString().c_str(), line.c_str());
  }
  const int faults = check::CountFaults(problems);
  for (const check::Problem& problem : problems) {
    if (problem.severity == check::Severity::kNote) continue;
    status += " " + check::FormatProblem(name, problem);
    if (faults > 1) status += engine::Cp1251(" (ещё " + std::to_string(faults - 1) + ")");
    break;
  }
  form_.ShowStatus(status);
  ++reloads_;
  emit Reloaded();
}

void ScriptWatch::RunPages(bool tree_changed) {
  ui::NavigationTree& tree = events_.tree();
  if (!tree_changed) {
    engine_.ExecuteLine("SCLEAR");
    if (tree.RerunSelected()) return;
  }
  // START builds the tree and the first page and may clear the cells: keep
  // what was read from the device, then show the node that was selected.
  QTreeWidgetItem* selected = tree.Selected();
  const int position = selected ? tree.DisplayPosition(selected) : -1;
  const std::string caption = selected ? ui::NavigationTree::Caption(selected) : std::string();
  const auto cells = engine_.cells();
  const auto saved = engine_.saved_cells();
  const auto dim = engine_.dim();
  engine_.ExecuteLine("SCLEAR");
  engine_.ExecuteLine("START RUN");
  engine_.cells() = cells;
  engine_.saved_cells() = saved;
  engine_.dim() = dim;
  if (position >= 0 && tree.Reselect(position, caption)) {
    engine_.ExecuteLine("SCLEAR");
    tree.RerunSelected();
  }
}

}  // namespace zelt
