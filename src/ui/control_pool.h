// The page area's fixed pool of controls: created once, hidden, handed out in
// pool order by the creation words. Positions are 1-based; a position outside
// a pool gives nullptr.
#pragma once

#include <QWidget>
#include <array>

class QCheckBox;
class QFrame;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTableView;

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
  static constexpr int kGrids = 3;

  // Creates every member as a hidden child of the page area.
  explicit ControlPool(QWidget* page);
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

  // Tab strips, grids and the navigator are placed by the tables subsystem,
  // which may put widgets of its own in their place (Replace...). They stay
  // children of the page area and start hidden.
  QWidget* TabControl1() const { return tab_control1_; }
  QWidget* TabControl2() const { return tab_control2_; }
  QTableView* DBGrid(int number) const { return At(grids_, number); }  // 1..3
  QWidget* DBNavigator1() const { return db_navigator1_; }
  void ReplaceTabControl1(QWidget* widget) { Replace(tab_control1_, widget); }
  void ReplaceTabControl2(QWidget* widget) { Replace(tab_control2_, widget); }
  void ReplaceDBGrid(int number, QTableView* grid);
  void ReplaceDBNavigator1(QWidget* widget) { Replace(db_navigator1_, widget); }

  // Hides every member and every single control of the page area.
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
  template <typename T>
  void Replace(T*& slot, T* widget);

  QWidget* page_;
  std::array<QLabel*, kLabels> labels_{};
  std::array<StyledComboBox*, kCombos> combos_{};
  std::array<QCheckBox*, kChecks> checks_{};
  std::array<DbCheckBox*, kDbChecks> db_checks_{};
  std::array<QFrame*, kBevels> bevels_{};
  std::array<QPushButton*, kButtons> buttons_{};
  std::array<QTableView*, kGrids> grids_{};
  QPlainTextEdit* memo1_ = nullptr;
  DirectoryEdit* directory_edit1_ = nullptr;
  LevelImage* image1_ = nullptr;
  QFrame* bevel_test_size_ = nullptr;
  QWidget* tab_control1_ = nullptr;
  QWidget* tab_control2_ = nullptr;
  QWidget* db_navigator1_ = nullptr;
};

}  // namespace ui
