#include "tree_navigation.h"

#include <QByteArray>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTimer>
#include <QTreeWidget>

#include "cp1251.h"
#include "engine.h"
#include "event_router.h"
#include "guarded.h"
#include "node_images.h"
#include "device_wait.h"

namespace ui {

namespace {

constexpr int kCaptionRole = Qt::UserRole + 1;
constexpr int kImageRole = Qt::UserRole + 2;
const std::string kNoScript;

}  // namespace

NavigationTree::NavigationTree(engine::Engine& engine, EventRouter& router,
                               const DeviceWait& wait, QTreeWidget* view,
                               const ControlRegisters& registers, QObject* parent)
    : QObject(parent),
      engine_(engine),
      router_(router),
      wait_(wait),
      view_(view),
      registers_(registers) {
  view_->viewport()->installEventFilter(this);
  view_->installEventFilter(this);
  connect(view_, &QTreeView::expanded, this, [this] { all_collapsed_ = false; });
}

void NavigationTree::Clear() {
  view_->clear();
  nodes_.fill(nullptr);
  for (auto& script : click_scripts_) script.clear();
  for (auto& script : leave_scripts_) script.clear();
  node_count_ = 0;
  parent_node_ = nullptr;
  last_node_ = -1;
}

void NavigationTree::AddTop() { Add(nullptr, true); }

void NavigationTree::AddChild(bool descend) { Add(parent_node_, descend); }

void NavigationTree::Add(QTreeWidgetItem* under, bool becomes_parent) {
  if (node_count_ < kNodes) {
    const std::string& text = registers_.text;
    auto* item = new QTreeWidgetItem;
    item->setText(0, engine::FromCp1251(text));
    item->setData(0, kCaptionRole, QByteArray(text.data(), qsizetype(text.size())));
    item->setIcon(0, NodeImage(registers_.image));
    item->setData(0, kImageRole, registers_.image);
    if (under) {
      under->addChild(item);
    } else {
      view_->addTopLevelItem(item);
    }
    nodes_[node_count_] = item;
    if (becomes_parent) parent_node_ = item;
    click_scripts_[node_count_] = registers_.on_change;
    leave_scripts_[node_count_] = registers_.on_close;
    ++node_count_;
  }
  ExpandOrCollapse();
}

void NavigationTree::ExpandOrCollapse() {
  // Nodes are only ever removed all at once, so the count is the tree's size.
  if (node_count_ < kExpandBelow) {
    view_->expandAll();
    all_collapsed_ = false;
  } else if (!all_collapsed_) {
    // Nodes come in collapsed; expandAll is only ever called above.
    view_->collapseAll();
    all_collapsed_ = true;
  }
}

void NavigationTree::SelectParent(int number) {
  parent_node_ = Node(number);
}

QTreeWidgetItem* NavigationTree::Node(int number) const {
  if (number < 0 || number >= kNodes) return nullptr;
  return nodes_[number];
}

QTreeWidgetItem* NavigationTree::Selected() const {
  const QList<QTreeWidgetItem*> items = view_->selectedItems();
  return items.isEmpty() ? nullptr : items.first();
}

int NavigationTree::DisplayPosition(const QTreeWidgetItem* item) const {
  if (!item) return -1;
  int position = 0;
  QTreeWidgetItemIterator it(view_);
  for (; *it; ++it, ++position) {
    if (*it == item) return position;
  }
  return -1;
}

int NavigationTree::Depth(const QTreeWidgetItem* item) {
  int depth = 0;
  for (const QTreeWidgetItem* up = item->parent(); up; up = up->parent()) ++depth;
  return depth;
}

int NavigationTree::SiblingIndex(const QTreeWidgetItem* item) {
  if (QTreeWidgetItem* parent = item->parent()) return parent->indexOfChild(const_cast<QTreeWidgetItem*>(item));
  QTreeWidget* tree = item->treeWidget();
  return tree ? tree->indexOfTopLevelItem(const_cast<QTreeWidgetItem*>(item)) : -1;
}

std::string NavigationTree::Caption(const QTreeWidgetItem* item) {
  const QByteArray bytes = item->data(0, kCaptionRole).toByteArray();
  return std::string(bytes.constData(), size_t(bytes.size()));
}

int NavigationTree::ImageOf(const QTreeWidgetItem* item) {
  return item->data(0, kImageRole).toInt();
}

const std::string& NavigationTree::click_script(int number) const {
  if (number < 0 || number >= kNodes) return kNoScript;
  return click_scripts_[number];
}

const std::string& NavigationTree::leave_script(int number) const {
  if (number < 0 || number >= kNodes) return kNoScript;
  return leave_scripts_[number];
}

void NavigationTree::Click() {
  if (wait_.Armed()) {
    engine_.ExecuteLine("`WAIT` RUN");
    return;
  }
  if (!Selected()) return;
  if (last_node_ >= 0 && last_node_ < kNodes) {
    std::string leave = leave_scripts_[last_node_];
    engine_.ExecuteLine(leave);
  }
  if (QTreeWidgetItem* item = Selected()) {
    selected_text_ = Caption(item);
    engine_.ExecuteLine("TREECLICK RUN");
    // TREECLICK may have cleared the tree or moved the selection.
    if (QTreeWidgetItem* now = Selected()) {
      last_node_ = DisplayPosition(now);
      std::string script = click_script(last_node_);
      router_.RunEventScript(script);
      return;
    }
  }
  router_.RunEventScript("SCLEAR MAIN RUN");
}

bool NavigationTree::RerunSelected() {
  QTreeWidgetItem* item = Selected();
  if (!item) return false;
  selected_text_ = Caption(item);
  last_node_ = DisplayPosition(item);
  router_.RunEventScript(click_script(last_node_));
  return true;
}

bool NavigationTree::Reselect(int position, const std::string& caption) {
  for (int n = 0; n < node_count_ && n < kNodes; ++n) {
    QTreeWidgetItem* item = nodes_[n];
    if (!item || DisplayPosition(item) != position || Caption(item) != caption) continue;
    view_->setCurrentItem(item);
    return true;
  }
  return false;
}

bool NavigationTree::KeyPressed(const QKeyEvent* key) {
  switch (key->key()) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Escape:
      return false;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
      Guarded([this] { Click(); });
      return true;
    default:
      break;
  }
  // The highlight stays where it is while the page cannot follow it.
  if (wait_.Armed()) {
    Guarded([this] { engine_.ExecuteLine("`WAIT` RUN"); });
    return true;
  }
  // The page follows a node the keys made current, once the view has moved.
  QTreeWidgetItem* before = Selected();
  QTimer::singleShot(0, this, [this, before] {
    if (Selected() && Selected() != before) Guarded([this] { Click(); });
  });
  return false;
}

bool NavigationTree::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  if (watched == view_) {
    if (type == QEvent::KeyPress) return KeyPressed(static_cast<QKeyEvent*>(event));
    return QObject::eventFilter(watched, event);
  }
  if (watched != view_->viewport()) return QObject::eventFilter(watched, event);
  if (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick) {
    // A press beside the nodes keeps the selection, as a tree view does on
    // the scripts' platform; the click then acts on the selected node. While
    // a device wait runs the page cannot change, so neither does the highlight.
    const auto* mouse = static_cast<QMouseEvent*>(event);
    if (!view_->indexAt(mouse->position().toPoint()).isValid() || wait_.Armed()) return true;
  }
  if (type == QEvent::MouseButtonRelease &&
      static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
    Guarded([this] { Click(); });
  }
  return QObject::eventFilter(watched, event);
}

std::optional<int> NavigationTree::SelectedLevel() const {
  const QTreeWidgetItem* item = Selected();
  if (!item) return std::nullopt;
  return Depth(item);
}

int NavigationTree::SelectedSiblingIndex() const {
  const QTreeWidgetItem* item = Selected();
  return item ? SiblingIndex(item) : -1;
}

int NavigationTree::SelectedPosition() const { return DisplayPosition(Selected()); }

}  // namespace ui
