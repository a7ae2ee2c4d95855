// The device command words: they queue command records on the links and read
// what the response dispatcher stored. None of them waits for the device.
#pragma once

#include "device_link.h"
#include "device_stores.h"
#include "engine.h"

namespace device {

// What the device words work on. The stores and the link table must outlive
// the engine's use of the words.
struct DeviceWordContext {
  DeviceStores& stores;
  LinkTable& links;
};
extern const engine::WordList<DeviceWordContext> kDeviceWords;

// CONNECTED FORCONNECT SENDCK ONREADCK CLEARDATA COPYDATA CMPDATA STATUS READEV
// READSCR WRITESCR RSCRIPT SSCRIPT READTEL WRITETEL RTEL CLEARSET WAITSEND.
void RegisterDeviceWords(engine::Engine& engine, DeviceStores& stores, LinkTable& links);

}  // namespace device
