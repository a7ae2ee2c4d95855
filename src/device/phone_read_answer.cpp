#include "phone_read_answer.h"

#include "device_records.h"
#include "dispatcher.h"

namespace device {

bool PhoneReadAnswer::Answers(const DeviceRecord& record) const {
  return record.code() == kReadAnswer && phone_.module == 1 &&
         phone_.address == record.address() && record.size() > 4 && record.At(0) > 14;
}

void PhoneReadAnswer::Take(const DeviceRecord& record) {
  if (record.Word(3) != phone_.record_number) return;
  phone_.status = record.At(5);
  phone_.digits = PhoneDigitsText(record.bytes().substr(6, 8));
  phone_.module = 0;
  phone_.address = 0;
  host_.EndWait();
}

}  // namespace device
