// The simulator's control lines (standard input of zelt-sim, or any text):
// queue records, inject faults, unplug and plug the device.
#pragma once

#include <QString>

namespace zsim {

class ZeltDevice;

// Runs one control line; the answer for the operator, or empty. `quit` is
// set when the line asks the simulator to end.
QString RunControlLine(ZeltDevice& device, const QString& line, bool* quit);

}  // namespace zsim
