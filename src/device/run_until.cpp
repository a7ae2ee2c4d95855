#include "run_until.h"

#include <QEventLoop>
#include <QTimer>

namespace device {

bool RunUntil(const std::function<bool()>& done, QDeadlineTimer deadline) {
  while (!done()) {
    if (deadline.hasExpired()) return false;
    QEventLoop loop;
    QTimer::singleShot(10, &loop, &QEventLoop::quit);
    loop.exec();
  }
  return true;
}

}  // namespace device
