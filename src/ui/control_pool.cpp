#include "control_pool.h"

#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>
#include <QVariant>
#include <vector>

#include "combo_box.h"
#include "control_kinds.h"
#include "db_check_box.h"
#include "directory_edit.h"
#include "level_image.h"

namespace ui {

namespace {

constexpr char kTagProperty[] = "tag";

// Makes the pool's members and hands them to the factory as its kind.
template <typename T, size_t N>
void Fill(std::array<T*, N>& pool, ControlFactory& factory, ControlKind kind,
          const ControlFactory::Kind& how, const char* stem) {
  std::vector<QWidget*> members;
  for (T*& member : pool) {
    member = new T;
    members.push_back(member);
  }
  factory.Register(kind, how, stem, members);
}

}  // namespace

int Tag(const QObject* control) {
  return control ? control->property(kTagProperty).toInt() : 0;
}

void SetTag(QObject* control, int tag) {
  if (control) control->setProperty(kTagProperty, tag);
}

ControlPool::ControlPool(QWidget* page, ControlFactory& factory) : factory_(factory) {
  // Creation order is stacking order, which the factory keeps for the kinds
  // registered later.
  bevel_test_size_ = new QFrame(page);
  bevel_test_size_->setObjectName(QStringLiteral("BevelTestSize"));
  bevel_test_size_->setGeometry(0, 0, 10, 10);
  bevel_test_size_->hide();
  Fill(bevels_, factory, ControlKind::kBevel, kBevelKind, "Bevel");
  for (QFrame* bevel : bevels_) {
    bevel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    bevel->setLineWidth(1);
    bevel->setAttribute(Qt::WA_TransparentForMouseEvents);
  }
  image1_ = new LevelImage(page);
  image1_->setObjectName(QStringLiteral("Image1"));
  image1_->hide();
  Fill(labels_, factory, ControlKind::kLabel, kLabelKind, "Label");
  for (QLabel* label : labels_) label->setTextFormat(Qt::PlainText);
  Fill(combos_, factory, ControlKind::kCombo, kComboKind, "ComboBox");
  Fill(checks_, factory, ControlKind::kCheck, kCheckKind, "CheckBox");
  Fill(db_checks_, factory, ControlKind::kDbCheck, kDbCheckKind, "DBCheckBox");
  Fill(buttons_, factory, ControlKind::kButton, kButtonKind, "Button");
  std::array<QPlainTextEdit*, 1> memo{};
  Fill(memo, factory, ControlKind::kMemo, kMemoKind, "Memo");
  memo1_ = memo[0];
  // Narrower than its vertical scroll bar, a wrapping text field has Qt show
  // and hide its scroll bars without end, queueing ever more layout calls:
  // the window would stop answering. A script's width is raised to the least
  // that leaves room for text.
  memo1_->setMinimumWidth(memo1_->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, memo1_) +
                          2 * memo1_->frameWidth() + 1);
  std::array<DirectoryEdit*, 1> dir{};
  Fill(dir, factory, ControlKind::kDir, kDirKind, "DirectoryEdit");
  directory_edit1_ = dir[0];
}

void ControlPool::HideAll() {
  factory_.HideAllBut(ControlKind::kMemo);
  factory_.Hide(ControlKind::kMemo);
  image1_->hide();
  bevel_test_size_->hide();
}

void ControlPool::LockInput(bool locked) {
  memo1_->setReadOnly(locked);
  for (StyledComboBox* box : combos_) box->setEnabled(!locked);
  for (QCheckBox* box : checks_) box->setEnabled(!locked);
  for (DbCheckBox* box : db_checks_) box->setEnabled(!locked);
  directory_edit1_->setEnabled(!locked);
}

}  // namespace ui
