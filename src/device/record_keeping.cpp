#include "record_keeping.h"

namespace device {

int ResponseSlot(uint8_t code) {
  switch (code) {
    case 0xC1: case 0xC2: case 0xC3: return 1;
    case 0xE1: case 0xD1: return 2;
    case 0xA3: return 3;
    case 0xAB: return 5;
    case 0x42: return 6;
    case 0xB5: return 7;
    case 0xCB: return 8;
    case kReadAnswer: return 9;
    default: return 0;
  }
}

void StoreResponse(DeviceStores& stores, const DeviceRecord& record) {
  const int32_t h = record.address();
  if (record.code() == kReadAnswer && record.At(3) == 0x04) {
    if (std::string* slot = stores.Response(1, h, 4)) *slot = record.text();
  }
  if (int slot_number = ResponseSlot(record.code())) {
    if (std::string* slot = stores.Response(1, h, slot_number)) *slot = record.text();
  }
}

bool AnnouncesModule(const DeviceRecord& record) {
  const uint8_t k = record.code();
  if (k == 0x81 || k == 0x9B) return true;
  return k == kReadAnswer && record.At(3) == 0x04 && (record.At(4) & 0xF0) == 0x30;
}

void AssignChannelPair(DeviceStores& stores, int32_t address) {
  for (int m = kFirstPair; m <= kLastModule; ++m) {
    const ChannelPair& pair = *stores.Pair(m);
    if (pair.link == 1 && pair.address == address) return;
  }
  for (int m = kFirstPair; m <= kLastModule; ++m) {
    ChannelPair& pair = *stores.Pair(m);
    if (pair.link == 0) {
      pair = ChannelPair{1, address};
      return;
    }
  }
}

}  // namespace device
