// Runs Qt's event loop, where a link answers the device's polls, until a
// condition holds: what kvs and zelt-provision wait on a device session with.
#pragma once

#include <QDeadlineTimer>
#include <functional>

namespace device {

// False when the deadline passed first.
bool RunUntil(const std::function<bool()>& done, QDeadlineTimer deadline = QDeadlineTimer::Forever);

}  // namespace device
