// What the bench shows and keeps: one line per device, redrawn in place on a
// terminal and printed as plain lines otherwise, and the report file.
#pragma once

#include <QString>
#include <ostream>
#include <vector>

#include "device_state.h"

namespace provision {

// "ttyUSB0  00123456  writing 50%", "ttyUSB0  00123456  verified  backup backup/...ini"
// (a backup in the current folder named from there),
// "ttyUSB1  -  failed: no answer within 15 s".
QString DeviceLine(const DeviceState& device);

class LiveView {
 public:
  LiveView(std::ostream& out, bool terminal) : out_(out), terminal_(terminal) {}
  // Shows the devices after a change: a terminal has every line redrawn in
  // place; elsewhere a line is printed when it says something new.
  void Show(const std::vector<DeviceState>& devices);

 private:
  std::ostream& out_;
  bool terminal_;
  size_t drawn_ = 0;
  std::vector<QString> printed_;
};

// The report: port, serial number, firmware, start, duration, result,
// differing addresses, backup file; one row per device after a header.
// Written whole or not at all; false when it could not be.
bool WriteReport(const QString& path, const std::vector<DeviceState>& devices);

// A CSV field: quoted, with its quotes doubled, when it holds a comma, a
// quote, a line break or blanks at an end.
QString CsvField(const QString& text);

}  // namespace provision
