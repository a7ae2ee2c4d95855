// The answer that completes a phone read started by READTEL: its status and
// digits go to the phone read, which ends, and so does the device wait.
#pragma once

#include "device_record.h"
#include "device_stores.h"

namespace device {

class DispatcherHost;

class PhoneReadAnswer {
 public:
  PhoneReadAnswer(PhoneRead& phone, DispatcherHost& host) : phone_(phone), host_(host) {}

  // An AC answer long enough to carry a phone record, from the module read.
  bool Answers(const DeviceRecord& record) const;
  // Ignored unless it carries the record number asked for.
  void Take(const DeviceRecord& record);

 private:
  PhoneRead& phone_;
  DispatcherHost& host_;
};

}  // namespace device
