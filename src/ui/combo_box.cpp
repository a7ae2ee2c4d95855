#include "combo_box.h"

#include <QComboBox>
#include <QIntValidator>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QListView>
#include <QPalette>
#include <QStringListModel>
#include <QTimer>

#include <algorithm>

namespace ui {

namespace {

// Marks a stretch of programmatic changes so that they raise no Changed().
class Updating {
 public:
  explicit Updating(bool& flag) : flag_(flag), saved_(flag) { flag_ = true; }
  ~Updating() { flag_ = saved_; }

 private:
  bool& flag_;
  bool saved_;
};

}  // namespace

StyledComboBox::StyledComboBox(QWidget* parent)
    : QWidget(parent),
      model_(new QStringListModel(this)),
      combo_(new QComboBox(this)),
      edit_(new QLineEdit(this)),
      list_(new QListView(this)) {
  combo_->setModel(model_);
  combo_->setEditable(true);
  combo_->setInsertPolicy(QComboBox::NoInsert);
  combo_->setMaxVisibleItems(16);
  list_->setModel(model_);
  list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  list_->setSelectionMode(QAbstractItemView::SingleSelection);
  edit_->hide();
  list_->hide();
  setFocusProxy(combo_);

  connect(combo_, &QComboBox::activated, this, [this](int) { UserChange(); });
  WireEdit(combo_->lineEdit());
  WireEdit(edit_);
  connect(list_->selectionModel(), &QItemSelectionModel::currentChanged, this,
          [this](const QModelIndex& current) {
            if (updating_ || !current.isValid()) return;
            {
              Updating guard(updating_);
              list_->selectionModel()->select(current, QItemSelectionModel::ClearAndSelect);
              edit_->setText(model_->data(current).toString());
            }
            UserChange();
          });
}

void StyledComboBox::WireEdit(QLineEdit* edit) {
  connect(edit, &QLineEdit::textEdited, this, [this] { UserChange(); });
  connect(edit, &QLineEdit::returnPressed, this, [this] { EnterPressed(); });
  connect(edit, &QLineEdit::textChanged, this, [this] { MarkInput(); });
}

QLineEdit* StyledComboBox::ActiveEdit() const {
  if (style_ == Style::kSimple) return edit_;
  return style_ == Style::kDropDown ? combo_->lineEdit() : nullptr;
}

void StyledComboBox::SetNumberRange(int low, int high) {
  if (high < low) {
    delete range_;
    range_ = nullptr;
  } else if (!range_) {
    range_ = new QIntValidator(low, high, this);
  } else {
    range_->setRange(low, high);
  }
  ApplyRange();
}

void StyledComboBox::ApplyRange() {
  for (QLineEdit* edit : {combo_->lineEdit(), edit_}) {
    if (edit) edit->setValidator(range_);
  }
  MarkInput();
}

bool StyledComboBox::Acceptable() const {
  const QLineEdit* edit = ActiveEdit();
  return !range_ || !edit || edit->hasAcceptableInput();
}

void StyledComboBox::MarkInput() {
  for (QLineEdit* edit : {combo_->lineEdit(), edit_}) {
    if (!edit) continue;
    const bool bad = range_ && edit == ActiveEdit() && !edit->hasAcceptableInput();
    // A palette, not a style sheet: a style sheet leaves the edit in the
    // application's font, not the page's.
    QPalette marked;
    if (bad) {
      marked = edit->parentWidget()->palette();
      marked.setColor(QPalette::Base, QColor(0xff, 0xd0, 0xd0));
    }
    edit->setPalette(marked);
  }
}

void StyledComboBox::UserChange() {
  if (!updating_) emit Changed();
}

void StyledComboBox::EnterPressed() {
  // Enter on a text equal to an item is already an activation of that item.
  if (style_ == Style::kDropDown && model_->stringList().contains(combo_->currentText())) return;
  // QComboBox hands one Enter to its edit line twice: count it once.
  if (enter_seen_) return;
  enter_seen_ = true;
  QTimer::singleShot(0, this, [this] { enter_seen_ = false; });
  UserChange();
}

void StyledComboBox::SetStyle(Style style) {
  if (style == style_) return;
  Updating guard(updating_);
  const QString text = Text();
  const int index = ItemIndex();
  style_ = style;
  if (style_ == Style::kSimple) {
    combo_->hide();
    edit_->show();
    list_->show();
    setFocusProxy(edit_);
  } else {
    edit_->hide();
    list_->hide();
    combo_->show();
    setFocusProxy(combo_);
    const bool editable = style_ == Style::kDropDown;
    if (combo_->isEditable() != editable) {
      combo_->setEditable(editable);
      if (editable) {
        combo_->setInsertPolicy(QComboBox::NoInsert);
        WireEdit(combo_->lineEdit());
      }
    }
  }
  SetItemIndex(index);
  if (style_ != Style::kList) SetText(text);
  ApplyRange();
  Place(x(), y(), width(), designed_height_);
}

void StyledComboBox::ClearItems() {
  Updating guard(updating_);
  const QString text = Text();
  model_->setStringList({});
  if (style_ != Style::kList) SetText(text);
}

void StyledComboBox::AddItem(const QString& item) {
  Updating guard(updating_);
  // QComboBox selects the first item put into an empty list; a script's
  // combo box must not, so the selection and the text are put back.
  const int index = ItemIndex();
  const QString text = Text();
  const int row = model_->rowCount();
  model_->insertRows(row, 1);
  model_->setData(model_->index(row), item);
  if (ItemIndex() != index) SetItemIndex(index);
  if (style_ != Style::kList && Text() != text) SetText(text);
}

int StyledComboBox::Count() const { return model_->rowCount(); }

QString StyledComboBox::ItemText(int index) const {
  if (index < 0 || index >= Count()) return {};
  return model_->data(model_->index(index)).toString();
}

QString StyledComboBox::Text() const {
  if (style_ == Style::kSimple) return edit_->text();
  return combo_->currentText();
}

void StyledComboBox::SetText(const QString& text) {
  Updating guard(updating_);
  switch (style_) {
    case Style::kList:
      combo_->setCurrentIndex(model_->stringList().indexOf(text));
      break;
    case Style::kDropDown:
      combo_->setEditText(text);
      break;
    case Style::kSimple:
      edit_->setText(text);
      break;
  }
}

int StyledComboBox::ItemIndex() const {
  if (style_ != Style::kSimple) return combo_->currentIndex();
  const QModelIndexList rows = list_->selectionModel()->selectedRows();
  return rows.isEmpty() ? -1 : rows.first().row();
}

void StyledComboBox::SetItemIndex(int index) {
  Updating guard(updating_);
  const bool valid = index >= 0 && index < Count();
  if (style_ == Style::kSimple) {
    if (valid) {
      const QModelIndex item = model_->index(index);
      list_->selectionModel()->setCurrentIndex(item, QItemSelectionModel::ClearAndSelect);
      edit_->setText(model_->data(item).toString());
    } else {
      list_->selectionModel()->clearSelection();
      list_->selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
    }
    return;
  }
  if (valid) {
    combo_->setCurrentIndex(index);
  } else if (style_ == Style::kDropDown) {
    const QString text = combo_->currentText();
    combo_->setCurrentIndex(-1);
    combo_->setEditText(text);
  } else {
    combo_->setCurrentIndex(-1);
  }
}

void StyledComboBox::Place(int left, int top, int width, int height) {
  designed_height_ = height;
  int actual = combo_->sizeHint().height();
  if (style_ == Style::kSimple) actual = std::max(height, edit_->sizeHint().height());
  setGeometry(left, top, width, actual);
  LayOut();
}

void StyledComboBox::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  LayOut();
}

void StyledComboBox::LayOut() {
  if (style_ == Style::kSimple) {
    const int edit_height = std::min(height(), edit_->sizeHint().height());
    edit_->setGeometry(0, 0, width(), edit_height);
    list_->setGeometry(0, edit_height, width(), std::max(0, height() - edit_height));
  } else {
    combo_->setGeometry(0, 0, width(), height());
  }
}

}  // namespace ui
