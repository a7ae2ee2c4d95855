// A combo box that switches among the three styles a page script can ask for:
// LIST (pick only), SIMPLE (a list always open under an edit field) and
// DROPDOWN (an edit field with a drop-down list). Qt's QComboBox has no SIMPLE
// style, so this widget keeps one item model and shows it either through a
// QComboBox or through an edit field above a list view.
#pragma once

#include <QWidget>

class QComboBox;
class QIntValidator;
class QLineEdit;
class QListView;
class QStringListModel;

namespace ui {

class StyledComboBox : public QWidget {
  Q_OBJECT

 public:
  enum class Style { kList, kSimple, kDropDown };

  explicit StyledComboBox(QWidget* parent = nullptr);

  Style style() const { return style_; }
  void SetStyle(Style style);

  void ClearItems();
  void AddItem(const QString& text);
  int Count() const;
  QString ItemText(int index) const;

  // The edit field's text; in LIST style the selected item's text.
  QString Text() const;
  // In LIST style the text selects the equal item, or nothing.
  void SetText(const QString& text);

  // 0-based selected item, -1 for none.
  int ItemIndex() const;
  // An index outside the items selects nothing and keeps the edit text.
  void SetItemIndex(int index);

  // The edit field takes only whole numbers from low to high and is marked
  // while its text is not one of them; high < low lifts the limit.
  void SetNumberRange(int low, int high);
  // False while the edit field holds a text outside its number range.
  bool Acceptable() const;

  // Geometry as a script gives it; LIST and DROPDOWN keep their own height.
  void Place(int left, int top, int width, int height);

  // The inner widgets, for tests that click and type like an operator.
  QComboBox* combo() const { return combo_; }
  QLineEdit* simple_edit() const { return edit_; }
  QListView* simple_list() const { return list_; }

 signals:
  // The operator changed the text or the selection, or pressed Enter in the
  // edit field (the text then is what it was). Changes made through the
  // setters above do not raise it.
  void Changed();

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void LayOut();
  void UserChange();
  void EnterPressed();
  void WireEdit(QLineEdit* edit);
  QLineEdit* ActiveEdit() const;
  void ApplyRange();
  void MarkInput();

  Style style_ = Style::kDropDown;
  QStringListModel* model_;
  QComboBox* combo_;
  QLineEdit* edit_;
  QListView* list_;
  QIntValidator* range_ = nullptr;  // null: any text
  int designed_height_ = 0;
  bool updating_ = false;
  bool enter_seen_ = false;
};

}  // namespace ui
