// The navigation tree: scripts build it node by node, each node carrying a
// click script and a leave script. The tree words store a node's scripts
// under its creation number; a click looks them up under the node's display
// position, so the two agree only for trees built in display order.
#pragma once

#include <QObject>
#include <array>
#include <optional>
#include <string>

#include "page_surface.h"

class QKeyEvent;
class QTreeWidget;
class QTreeWidgetItem;

namespace engine {
class Engine;
}

namespace device {
class DeviceWait;
}

namespace ui {

using device::DeviceWait;
class EventRouter;

class NavigationTree : public QObject, public PageTree {
  Q_OBJECT

 public:
  static constexpr int kNodes = 1001;  // numbered 0 to 1000
  static constexpr int kExpandBelow = 20;

  // A new node takes its caption, picture, click script (the on-change
  // register) and leave script (the on-close register) from `registers`.
  NavigationTree(engine::Engine& engine, EventRouter& router, const DeviceWait& wait,
                 QTreeWidget* view, const ControlRegisters& registers, QObject* parent = nullptr);

  // The words.
  void Clear() override;
  void AddTop() override;
  void AddChild(bool descend) override;  // CHILD descends, ADDCHILD keeps the parent
  void SelectParent(int number) override;
  int node_count() const override { return node_count_; }
  int last_node() const { return last_node_; }
  const std::string& selected_text() const override { return selected_text_; }
  std::optional<int> SelectedLevel() const override;
  int SelectedSiblingIndex() const override;
  int SelectedPosition() const override;

  QTreeWidgetItem* Selected() const;
  QTreeWidgetItem* Node(int number) const;
  QTreeWidgetItem* parent_node() const { return parent_node_; }
  // 0-based position among all nodes, top to bottom, collapsed ones included.
  int DisplayPosition(const QTreeWidgetItem* item) const;
  static int Depth(const QTreeWidgetItem* item);
  static int SiblingIndex(const QTreeWidgetItem* item);
  // A node's caption as the script gave it.
  static std::string Caption(const QTreeWidgetItem* item);
  // The picture number the node was given.
  static int ImageOf(const QTreeWidgetItem* item);

  const std::string& click_script(int number) const;
  const std::string& leave_script(int number) const;

  // A mouse click in the tree, with the selection that holds after it.
  void Click();
  // Runs the selected node's page again as a click does, without the leave
  // script and TREECLICK (the script file was reloaded). False when no node
  // is selected.
  bool RerunSelected();
  // Selects, without running anything, the node at that display position
  // when its caption is still the same. False when there is none.
  bool Reselect(int position, const std::string& caption);

  QTreeWidget* view() const { return view_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Enter and Space run the current node's page, other keys that move the
  // highlight run the page of the node they reach. True when used up.
  bool KeyPressed(const QKeyEvent* key);
  void Add(QTreeWidgetItem* under, bool becomes_parent);
  void ExpandOrCollapse();

  engine::Engine& engine_;
  EventRouter& router_;
  const DeviceWait& wait_;
  QTreeWidget* view_;
  const ControlRegisters& registers_;

  std::array<QTreeWidgetItem*, kNodes> nodes_{};
  std::array<std::string, kNodes> click_scripts_;
  std::array<std::string, kNodes> leave_scripts_;
  int node_count_ = 0;
  QTreeWidgetItem* parent_node_ = nullptr;
  int last_node_ = -1;
  std::string selected_text_;
  // No node is expanded: collapsing all again would change nothing (and lay
  // the whole tree out once more for every node a script adds).
  bool all_collapsed_ = false;
};

}  // namespace ui
