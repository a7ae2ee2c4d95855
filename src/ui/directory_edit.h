// DirectoryEdit1: a one-line field with a button that opens a folder chooser.
#pragma once

#include <QWidget>
#include <functional>

class QLineEdit;
class QToolButton;

namespace ui {

class DirectoryEdit : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kWidth = 137;
  static constexpr int kHeight = 21;

  // Given the field's text, returns the chosen folder or "" when cancelled.
  using Chooser = std::function<QString(const QString&)>;

  explicit DirectoryEdit(QWidget* parent = nullptr);

  QString Text() const;
  void SetText(const QString& text);
  void SetChooser(Chooser chooser) { chooser_ = std::move(chooser); }

  QLineEdit* edit() const { return edit_; }
  QToolButton* button() const { return button_; }

 signals:
  // Any change of the text, by the operator, the chooser or SetText.
  void Changed();

 private:
  void Choose();

  QLineEdit* edit_;
  QToolButton* button_;
  Chooser chooser_;
};

}  // namespace ui
