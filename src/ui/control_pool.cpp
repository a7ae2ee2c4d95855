#include "control_pool.h"

#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>
#include <QTabBar>
#include <QTableView>
#include <QVariant>

#include "combo_box.h"
#include "db_check_box.h"
#include "directory_edit.h"
#include "level_image.h"

namespace ui {

namespace {

constexpr char kTagProperty[] = "tag";

template <typename T>
T* Make(QWidget* page, const QString& name) {
  auto* widget = new T(page);
  widget->setObjectName(name);
  widget->hide();
  return widget;
}

QString Numbered(const char* stem, int number) {
  return QString::fromLatin1(stem) + QString::number(number);
}

}  // namespace

int Tag(const QObject* control) {
  return control ? control->property(kTagProperty).toInt() : 0;
}

void SetTag(QObject* control, int tag) {
  if (control) control->setProperty(kTagProperty, tag);
}

ControlPool::ControlPool(QWidget* page) : page_(page) {
  // Creation order is stacking order: frames and texts lie under the
  // controls an operator works with, as graphic controls do on a form.
  bevel_test_size_ = Make<QFrame>(page, QStringLiteral("BevelTestSize"));
  bevel_test_size_->setGeometry(0, 0, 10, 10);
  for (int i = 0; i < kBevels; ++i) {
    QFrame* bevel = Make<QFrame>(page, Numbered("Bevel", i + 1));
    bevel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    bevel->setLineWidth(1);
    bevel->setAttribute(Qt::WA_TransparentForMouseEvents);
    bevels_[i] = bevel;
  }
  image1_ = Make<LevelImage>(page, QStringLiteral("Image1"));
  for (int i = 0; i < kLabels; ++i) {
    QLabel* label = Make<QLabel>(page, Numbered("Label", i + 1));
    label->setTextFormat(Qt::PlainText);
    labels_[i] = label;
  }
  for (int i = 0; i < kGrids; ++i) grids_[i] = Make<QTableView>(page, Numbered("DBGrid", i + 1));
  db_navigator1_ = Make<QWidget>(page, QStringLiteral("DBNavigator1"));
  tab_control1_ = Make<QTabBar>(page, QStringLiteral("TabControl1"));
  tab_control2_ = Make<QTabBar>(page, QStringLiteral("TabControl2"));
  for (int i = 0; i < kCombos; ++i) combos_[i] = Make<StyledComboBox>(page, Numbered("ComboBox", i + 1));
  for (int i = 0; i < kChecks; ++i) checks_[i] = Make<QCheckBox>(page, Numbered("CheckBox", i + 1));
  for (int i = 0; i < kDbChecks; ++i) {
    db_checks_[i] = Make<DbCheckBox>(page, Numbered("DBCheckBox", i + 1));
  }
  for (int i = 0; i < kButtons; ++i) buttons_[i] = Make<QPushButton>(page, Numbered("Button", i + 1));
  memo1_ = Make<QPlainTextEdit>(page, QStringLiteral("Memo1"));
  // Narrower than its vertical scroll bar, a wrapping text field has Qt show
  // and hide its scroll bars without end, queueing ever more layout calls:
  // the window would stop answering. A script's width is raised to the least
  // that leaves room for text.
  memo1_->setMinimumWidth(
      memo1_->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, memo1_) +
      2 * memo1_->frameWidth() + 1);
  directory_edit1_ = Make<DirectoryEdit>(page, QStringLiteral("DirectoryEdit1"));
}

template <typename T>
void ControlPool::Replace(T*& slot, T* widget) {
  if (!widget || widget == slot) return;
  widget->setParent(page_);
  widget->setObjectName(slot->objectName());
  widget->stackUnder(slot);
  widget->hide();
  delete slot;
  slot = widget;
}

// The inline Replace... of the header use this one.
template void ControlPool::Replace<QWidget>(QWidget*&, QWidget*);

void ControlPool::ReplaceDBGrid(int number, QTableView* grid) {
  if (number >= 1 && number <= kGrids) Replace(grids_[static_cast<size_t>(number - 1)], grid);
}

void ControlPool::HideAll() {
  for (QLabel* w : labels_) w->hide();
  for (StyledComboBox* w : combos_) w->hide();
  for (QCheckBox* w : checks_) w->hide();
  for (DbCheckBox* w : db_checks_) w->hide();
  for (QFrame* w : bevels_) w->hide();
  for (QPushButton* w : buttons_) w->hide();
  for (QTableView* w : grids_) w->hide();
  memo1_->hide();
  directory_edit1_->hide();
  image1_->hide();
  bevel_test_size_->hide();
  tab_control1_->hide();
  tab_control2_->hide();
  db_navigator1_->hide();
}

void ControlPool::LockInput(bool locked) {
  memo1_->setReadOnly(locked);
  for (StyledComboBox* box : combos_) box->setEnabled(!locked);
  for (QCheckBox* box : checks_) box->setEnabled(!locked);
  for (DbCheckBox* box : db_checks_) box->setEnabled(!locked);
  directory_edit1_->setEnabled(!locked);
}

}  // namespace ui
