#include "device_stores.h"

namespace device {

DeviceStores::DeviceStores()
    : responses_(static_cast<size_t>(kLastModule) * kItems * kSlots) {}

ChannelPair* DeviceStores::Pair(int32_t module) {
  return IsPair(module) ? &channel_pairs[module] : nullptr;
}

size_t DeviceStores::ResponseIndex(int32_t module, int32_t item, int32_t slot) {
  return (static_cast<size_t>(module - 1) * kItems + (item - 1)) * kSlots + (slot - 1);
}

std::string* DeviceStores::Response(int32_t module, int32_t item, int32_t slot) {
  if (!IsModule(module) || item < 1 || item > kItems || slot < 1 || slot > kSlots) {
    return nullptr;
  }
  return &responses_[ResponseIndex(module, item, slot)];
}

void DeviceStores::ClearItem(int32_t module, int32_t item) {
  for (int slot = 1; slot <= kSlots; ++slot) {
    if (std::string* text = Response(module, item, slot)) text->clear();
  }
}

void DeviceStores::EndExchanges() {
  transfer.module = 0;
  transfer.address = 0;
  transfer.next_address = 0;
  transfer.write = false;
  transfer.last_request.clear();
  phone.module = 0;
  phone.address = 0;
}

bool DeviceStores::Connected(int32_t row, int32_t item) const {
  if (!IsModule(row) || item < 1 || item > kItems) return false;
  return connections_[row][item] != 0;
}

void DeviceStores::SetConnected(int32_t row, int32_t item, bool on) {
  if (!IsModule(row) || item < 1 || item > kItems) return;
  connections_[row][item] = on ? 1 : 0;
}

void DeviceStores::ClearConnectionRow(int32_t row) {
  if (!IsModule(row)) return;
  connections_[row].fill(0);
}

}  // namespace device
