// DBCheckBox1..4: check boxes bound to a field of the first query's current
// row. The binding is only a name here; the tables subsystem reads it.
#pragma once

#include <QCheckBox>

namespace ui {

class DbCheckBox : public QCheckBox {
  Q_OBJECT

 public:
  using QCheckBox::QCheckBox;

  const QString& DataField() const { return data_field_; }
  void SetDataField(const QString& field) {
    if (field == data_field_) return;
    data_field_ = field;
    emit DataFieldChanged();
  }

 signals:
  void DataFieldChanged();

 private:
  QString data_field_;
};

}  // namespace ui
