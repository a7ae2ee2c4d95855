#include "directory_edit.h"

#include <QApplication>
#include <QDir>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QStyle>
#include <QToolButton>

namespace ui {

DirectoryEdit::DirectoryEdit(QWidget* parent)
    : QWidget(parent), edit_(new QLineEdit(this)), button_(new QToolButton(this)) {
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(edit_, 1);
  layout->addWidget(button_);
  button_->setIcon(style()->standardIcon(QStyle::SP_DirOpenIcon));
  button_->setFixedSize(kHeight, kHeight);
  button_->setFocusPolicy(Qt::NoFocus);
  button_->setToolTip(QStringLiteral("Выбор папки"));
  setFixedSize(kWidth, kHeight);
  setFocusProxy(edit_);
  connect(edit_, &QLineEdit::textChanged, this, &DirectoryEdit::Changed);
  connect(button_, &QToolButton::clicked, this, &DirectoryEdit::Choose);
}

QString DirectoryEdit::Text() const { return edit_->text(); }

void DirectoryEdit::SetText(const QString& text) { edit_->setText(text); }

void DirectoryEdit::Choose() {
  if (!chooser_) return;
  const QString folder = chooser_(edit_->text());
  if (!folder.isEmpty()) edit_->setText(QDir::toNativeSeparators(folder));
}

}  // namespace ui
