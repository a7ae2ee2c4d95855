#include "control_factory.h"

#include <QWidget>
#include <algorithm>

#include "control_pool.h"

namespace ui {

namespace {
constexpr int32_t kFarthest = 100000;
}  // namespace

QRect PageRect(int32_t left, int32_t top, int32_t width, int32_t height) {
  return QRect(std::clamp(left, -kFarthest, kFarthest), std::clamp(top, -kFarthest, kFarthest),
               std::clamp(width, 0, kFarthest), std::clamp(height, 0, kFarthest));
}

ControlFactory::ControlFactory(QWidget* page, PageModel& model) : page_(page), model_(model) {}

QWidget* ControlFactory::LowestAbove(ControlKind kind) const {
  for (int k = static_cast<int>(kind) + 1; k < kControlKinds; ++k) {
    const Entry& above = At(static_cast<ControlKind>(k));
    if (!above.members.empty()) return above.members.front();
  }
  return nullptr;
}

void ControlFactory::Register(ControlKind kind, const Kind& how, const char* stem,
                              const std::vector<QWidget*>& members) {
  Entry& entry = At(kind);
  entry.how = how;
  entry.members = members;
  QWidget* above = LowestAbove(kind);
  for (size_t i = 0; i < members.size(); ++i) {
    QWidget* control = members[i];
    control->setParent(page_);
    control->setObjectName(QString::fromLatin1(stem) + QString::number(i + 1));
    if (above) control->stackUnder(above);
    control->hide();
  }
}

QWidget* ControlFactory::Member(ControlKind kind, int position) const {
  const std::vector<QWidget*>& members = At(kind).members;
  return position >= 1 && position <= static_cast<int>(members.size())
             ? members[static_cast<size_t>(position - 1)]
             : nullptr;
}

int ControlFactory::Count(ControlKind kind) const { return static_cast<int>(At(kind).members.size()); }

void ControlFactory::Place(ControlKind kind, int member) {
  const Entry& entry = At(kind);
  if (entry.members.empty()) return;
  const Kind& how = entry.how;
  const std::optional<Slot> slot = model_.Allocate(how.rule, Count(kind), member);
  if (!slot) return;
  if (QWidget* control = Member(kind, slot->position)) {
    ControlRegisters& r = model_.registers();
    if (how.rule.routed) SetTag(control, slot->number);
    const QRect rect =
        PageRect(r.left, r.top, r.width, how.fixed_height > 0 ? how.fixed_height : r.height);
    if (how.extent == Extent::kPosition) control->move(rect.topLeft());
    if (how.extent == Extent::kRect) control->setGeometry(rect);
    if (how.fill) how.fill(*control, r);
    control->show();
  }
  model_.Placed(how.rule, *slot);
}

void ControlFactory::Hide(ControlKind kind) {
  for (QWidget* control : At(kind).members) control->hide();
}

void ControlFactory::HideAllBut(ControlKind kept) {
  for (int k = 0; k < kControlKinds; ++k)
    if (static_cast<ControlKind>(k) != kept) Hide(static_cast<ControlKind>(k));
}

}  // namespace ui
