#include "port_list.h"

namespace device {

void PortList::Set(const QStringList& names, int current) {
  if (current < -1 || current >= names.size()) current = -1;
  if (names == names_ && current == current_) return;
  names_ = names;
  current_ = current;
  emit Changed();
}

void PortList::Pick(const QString& port) {
  const int index = names_.indexOf(port);
  if (index >= 0) {
    SetCurrent(index);
    return;
  }
  Set(names_ + QStringList{port}, static_cast<int>(names_.size()));
}

}  // namespace device
