// The page area's fixed pool of controls: created once, hidden, handed out in
// pool order by the creation words through the control factory. Positions
// are 1-based; a position outside a pool gives nullptr.
#pragma once

#include <QWidget>
#include <array>

#include "control_factory.h"

class QCheckBox;
class QFrame;
class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace ui {

class DbCheckBox;
class DirectoryEdit;
class LevelImage;
class StyledComboBox;

// A control's tag, the key into the event script table (0 until placed).
int Tag(const QObject* control);
void SetTag(QObject* control, int tag);

class ControlPool {
 public:
  static constexpr int kLabels = 40;
  static constexpr int kCombos = 32;
  static constexpr int kChecks = 40;
  static constexpr int kDbChecks = 4;
  static constexpr int kBevels = 5;
  static constexpr int kButtons = 15;

  // Creates every member as a hidden child of the page area and registers
  // the window's kinds with the factory. Tab strips, grids and the navigator
  // are the tables' kinds.
  ControlPool(QWidget* page, ControlFactory& factory);
  ControlPool(const ControlPool&) = delete;
  ControlPool& operator=(const ControlPool&) = delete;

  QLabel* Label(int position) const { return At(labels_, position); }
  StyledComboBox* ComboBox(int position) const { return At(combos_, position); }
  QCheckBox* CheckBox(int position) const { return At(checks_, position); }
  DbCheckBox* DBCheckBox(int position) const { return At(db_checks_, position); }
  QFrame* Bevel(int position) const { return At(bevels_, position); }
  QPushButton* Button(int position) const { return At(buttons_, position); }

  QPlainTextEdit* Memo1() const { return memo1_; }
  DirectoryEdit* DirectoryEdit1() const { return directory_edit1_; }
  LevelImage* Image1() const { return image1_; }
  QFrame* BevelTestSize() const { return bevel_test_size_; }

  // Hides every control of the page area, whoever registered its kind.
  void HideAll();
  // Memo, combo boxes, check boxes and the folder field take no input while
  // locked; buttons and grids still work.
  void LockInput(bool locked);

 private:
  template <typename T, size_t N>
  static T* At(const std::array<T*, N>& pool, int position) {
    return position >= 1 && position <= static_cast<int>(N) ? pool[static_cast<size_t>(position - 1)]
                                                            : nullptr;
  }

  ControlFactory& factory_;
  std::array<QLabel*, kLabels> labels_{};
  std::array<StyledComboBox*, kCombos> combos_{};
  std::array<QCheckBox*, kChecks> checks_{};
  std::array<DbCheckBox*, kDbChecks> db_checks_{};
  std::array<QFrame*, kBevels> bevels_{};
  std::array<QPushButton*, kButtons> buttons_{};
  QPlainTextEdit* memo1_ = nullptr;
  DirectoryEdit* directory_edit1_ = nullptr;
  LevelImage* image1_ = nullptr;
  QFrame* bevel_test_size_ = nullptr;
};

}  // namespace ui
