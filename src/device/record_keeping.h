// What a record from a module leaves in the device stores: its text in the
// response store slot its code selects, and a channel pair entry for a module
// that announces itself.
#pragma once

#include "device_record.h"
#include "device_stores.h"

namespace device {

// The response store slot of a record code; 0 for codes that are not kept.
// An AC answer whose first data byte is 04 goes to slot 4 as well.
int ResponseSlot(uint8_t code);
void StoreResponse(DeviceStores& stores, const DeviceRecord& record);

// Codes 81 and 9B, and an AC answer of 04 then 30 to 3F.
bool AnnouncesModule(const DeviceRecord& record);
// The first free entry 9 to 32 gets (1, address), unless one holds it already.
void AssignChannelPair(DeviceStores& stores, int32_t address);

}  // namespace device
