// The ports the supervision offers and the one its link is on. The window
// shows it in ComboBoxCom; the operator's pick comes back through the
// supervision.
#pragma once

#include <QObject>
#include <QStringList>

namespace device {

class PortList : public QObject {
  Q_OBJECT

 public:
  const QStringList& names() const { return names_; }
  // -1 for none.
  int current() const { return current_; }

  void Set(const QStringList& names, int current);
  void SetCurrent(int index) { Set(names_, index); }
  // Makes the port current, adding it at the end when it is not listed.
  void Pick(const QString& port);

 signals:
  void Changed();

 private:
  QStringList names_;
  int current_ = -1;
};

}  // namespace device
