// DBNavigator1: the record buttons First, Prior, Next and Last over Query1.
// The result is read-only, so there are no editing buttons.
#pragma once

#include <QPointer>
#include <QWidget>

#include "query_object.h"

class QToolButton;

namespace tables {

class RecordNavigator : public QWidget {
  Q_OBJECT

 public:
  RecordNavigator(QueryObject& query, QWidget* parent = nullptr);

  QToolButton* FirstButton() const { return first_; }
  QToolButton* PriorButton() const { return prior_; }
  QToolButton* NextButton() const { return next_; }
  QToolButton* LastButton() const { return last_; }

  // Enables the buttons that can move from the current row.
  void UpdateButtons();

 private:
  QPointer<QueryObject> query_;  // the navigator may outlive it
  QToolButton* first_;
  QToolButton* prior_;
  QToolButton* next_;
  QToolButton* last_;
};

}  // namespace tables
