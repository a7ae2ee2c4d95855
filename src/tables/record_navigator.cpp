#include "record_navigator.h"

#include <QHBoxLayout>
#include <QSqlQueryModel>
#include <QToolButton>

#include "query_object.h"

namespace tables {

namespace {

QToolButton* MakeButton(QWidget* parent, const QString& glyph, const QString& tip) {
  auto* button = new QToolButton(parent);
  button->setText(glyph);
  button->setToolTip(tip);
  button->setFocusPolicy(Qt::NoFocus);
  button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
  return button;
}

}  // namespace

RecordNavigator::RecordNavigator(QueryObject& query, QWidget* parent)
    : QWidget(parent), query_(&query) {
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  first_ = MakeButton(this, QStringLiteral("|\u25C0"), QStringLiteral("Первая запись"));
  prior_ = MakeButton(this, QStringLiteral("\u25C0"), QStringLiteral("Предыдущая запись"));
  next_ = MakeButton(this, QStringLiteral("\u25B6"), QStringLiteral("Следующая запись"));
  last_ = MakeButton(this, QStringLiteral("\u25B6|"), QStringLiteral("Последняя запись"));
  for (QToolButton* b : {first_, prior_, next_, last_}) layout->addWidget(b);
  connect(first_, &QToolButton::clicked, this, [this] {
    if (query_) query_->First();
  });
  connect(prior_, &QToolButton::clicked, this, [this] {
    if (query_) query_->Prior();
  });
  connect(next_, &QToolButton::clicked, this, [this] {
    if (query_) query_->Next();
  });
  connect(last_, &QToolButton::clicked, this, [this] {
    if (query_) query_->Last();
  });
  connect(&query, &QueryObject::CurrentRowChanged, this, [this] { UpdateButtons(); });
  UpdateButtons();
}

void RecordNavigator::UpdateButtons() {
  const int row = query_ ? query_->CurrentRow() : -1;
  const bool on_row = query_ && query_->IsOpen() && row >= 0;
  const bool more = on_row && (row + 1 < query_->model()->rowCount() || query_->model()->canFetchMore());
  first_->setEnabled(on_row && row > 0);
  prior_->setEnabled(on_row && row > 0);
  next_->setEnabled(more);
  last_->setEnabled(more);
}

}  // namespace tables
