// Port scan: the device ports the supervision cycles through, in order.
#pragma once

#include <QStringList>

namespace zlink {

// With a --port list, those of its ports that are present now (a path that has
// gone counts as an unplugged adapter; a name without a folder is looked up
// under /dev, and on Windows is always present; a memory port while plugged). Without one: on Windows the
// registry's serial-port map, values \Device\VCP0 to \Device\VCP99; elsewhere
// the USB serial ports (ttyUSB*, ttyACM*) in natural name order.
QStringList ScanPorts(const QStringList& port_list);

// The platform scan alone.
QStringList ScanPlatformPorts();

// "ttyUSB2" before "ttyUSB10".
bool NaturalLess(const QString& a, const QString& b);

}  // namespace zlink
