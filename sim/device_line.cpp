#include "device_line.h"

#include <algorithm>

namespace zsim {

DeviceLine::DeviceLine(QObject* parent) : QObject(parent) {
  connect(&pump_timer_, &QTimer::timeout, this, &DeviceLine::Pump);
}

void DeviceLine::SetRealtime(bool on, int baud) {
  realtime_ = on;
  baud_ = baud > 0 ? baud : 9600;
}

int DeviceLine::TransferMs(int bytes) const {
  return realtime_ ? (bytes * 10 * 1000 + baud_ - 1) / baud_ : 0;
}

void DeviceLine::Write(const QByteArray& bytes) {
  if (!IsOpen()) return;
  DropUnreadInput();
  pending_ += bytes;
  Pump();
}

void DeviceLine::StartPacing() {
  clock_.start();
  credit_ = 0;
}

void DeviceLine::StopPacing() {
  pump_timer_.stop();
  pending_.clear();
}

void DeviceLine::Pump() {
  if (!IsOpen() || pending_.isEmpty()) {
    pump_timer_.stop();
    return;
  }
  qsizetype allowed = pending_.size();
  if (realtime_) {
    const double per_ms = baud_ / 10000.0;
    const double elapsed_ms = static_cast<double>(clock_.nsecsElapsed()) / 1e6;
    clock_.restart();
    credit_ = std::min(credit_ + elapsed_ms * per_ms, 4.0);
    allowed = std::min<qsizetype>(allowed, static_cast<qsizetype>(credit_));
  }
  if (allowed > 0) {
    const qint64 n = Send(pending_.constData(), allowed);
    if (n > 0) {
      pending_.remove(0, n);
      if (realtime_) credit_ -= static_cast<double>(n);
    } else if (n < 0) {
      pending_.clear();  // the line is gone
    }
  }
  if (pending_.isEmpty())
    pump_timer_.stop();
  else if (!pump_timer_.isActive())
    pump_timer_.start(realtime_ ? 2 : 1);
}

}  // namespace zsim
