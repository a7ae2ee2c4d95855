// What the window words ask of the window, with no widget type in sight: the
// control registers, the design units, placing and clearing the page's
// controls, reading them back inside an event script, the message windows,
// the navigation tree, the transfer caption, the device wait and timer 1.
// Texts are Windows-1251.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "control_registers.h"
#include "engine.h"
#include "page_model.h"

namespace ui {

class PageSurface {
 public:
  virtual ~PageSurface() = default;
  virtual ControlRegisters& registers() = 0;
  // Design units: script pixels scaled to the window.
  virtual int32_t DesignX(int32_t v) const = 0;
  virtual int32_t DesignY(int32_t v) const = 0;
  // Hands out the next control of its pool with the pending properties.
  virtual void Place(ControlKind kind) = 0;
  virtual void ClearPage() = 0;
  virtual void LockInput(bool locked) = 0;
  // The combo box and check box whose event runs: -1, empty and false for none.
  virtual int32_t EventComboIndex() const = 0;
  virtual std::string EventComboText() const = 0;
  virtual bool EventBoxChecked() const = 0;
  virtual std::string FolderText() const = 0;
  // Lines joined by CR LF.
  virtual std::string MemoText() const = 0;
  virtual void ShowLevelImage() = 0;
  virtual void DrawLevel(int32_t left, int32_t top, int32_t level) = 0;
  // Modal: timers may run lines meanwhile.
  virtual void Message(const std::string& text) = 0;
  // A failure: the same with the warning icon.
  virtual void Warn(const std::string& text) = 0;
  virtual bool Ask(const std::string& text) = 0;
  // Yes, No and Cancel; nothing for Cancel.
  virtual std::optional<bool> AskOrCancel(const std::string& text) = 0;
};

// The navigation tree as its words see it.
class PageTree {
 public:
  virtual ~PageTree() = default;
  virtual void Clear() = 0;
  virtual void AddTop() = 0;
  // Under the parent; `deeper` makes the new node the parent.
  virtual void AddChild(bool deeper) = 0;
  virtual void SelectParent(int32_t number) = 0;
  virtual int node_count() const = 0;
  // Of the selected node: nothing, -1 and empty without one.
  virtual std::optional<int> SelectedLevel() const = 0;
  virtual int SelectedSiblingIndex() const = 0;
  virtual int SelectedPosition() const = 0;
  virtual const std::string& selected_text() const = 0;
};

class TransferCaption {
 public:
  virtual ~TransferCaption() = default;
  // Empty restores the default.
  virtual void ShowCaption(const std::string& text) = 0;
  // The running operation is at `part` of `parts`; no parts drops the plan.
  virtual void ShowPart(int32_t part, int32_t parts) = 0;
};

class LineTimer {
 public:
  virtual ~LineTimer() = default;
  virtual void Start(std::string line, int32_t ms) = 0;
  virtual void set_script(std::string line) = 0;
};

extern const engine::WordList<PageSurface> kPropertyWords;
extern const engine::WordList<PageSurface> kCreationWords;
extern const engine::WordList<PageSurface> kPageWords;
extern const engine::WordList<TransferCaption> kProgressWords;
extern const engine::WordList<PageTree> kTreeWords;
extern const engine::WordList<LineTimer> kTimerWords;

}  // namespace ui
