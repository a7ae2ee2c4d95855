// The kinds of control a page can place and the one routine that places them.
// The window registers its own pools when it is built, the tables their tab
// strips, grids and navigator at start-up; a creation word names its kind.
#pragma once

#include <QRect>
#include <QString>
#include <array>
#include <vector>

#include "page_model.h"

class QWidget;

namespace ui {

class ControlFactory {
 public:
  enum class Extent {
    kPosition,  // LEFT and TOP; the control keeps its size
    kRect,      // LEFT, TOP, WIDTH and HEIGHT, or the fixed height
    kByFill,    // the fill places the control itself
  };
  // Applies the pending properties to the member, after its tag and place.
  using Fill = void (*)(QWidget& control, ControlRegisters& registers);

  struct Kind {
    KindRule rule;
    Extent extent = Extent::kRect;
    Fill fill = nullptr;
    int fixed_height = 0;  // 0: the HEIGHT register
  };

  ControlFactory(QWidget* page, PageModel& model);
  ControlFactory(const ControlFactory&) = delete;
  ControlFactory& operator=(const ControlFactory&) = delete;

  // The members, in pool order, become hidden children of the page named
  // `stem` and their position, stacked where their kind lies.
  void Register(ControlKind kind, const Kind& how, const char* stem,
                const std::vector<QWidget*>& members);
  // 1-based; nullptr outside the pool or for a kind nobody registered.
  QWidget* Member(ControlKind kind, int position) const;
  int Count(ControlKind kind) const;

  // The creation words' routine: number, tag, place, fill, show, next number.
  // `member` names the member of a kUnmapped kind.
  void Place(ControlKind kind, int member = 1);
  void Hide(ControlKind kind);
  void HideAllBut(ControlKind kept);

 private:
  struct Entry {
    Kind how;
    std::vector<QWidget*> members;
  };
  const Entry& At(ControlKind kind) const { return kinds_[static_cast<size_t>(kind)]; }
  Entry& At(ControlKind kind) { return kinds_[static_cast<size_t>(kind)]; }
  QWidget* LowestAbove(ControlKind kind) const;

  QWidget* page_;
  PageModel& model_;
  std::array<Entry, kControlKinds> kinds_{};
};

// A script's pixels as a widget rectangle: far-off positions and sizes are cut
// to what a widget can take, negative sizes to 0.
QRect PageRect(int32_t left, int32_t top, int32_t width, int32_t height);

}  // namespace ui
