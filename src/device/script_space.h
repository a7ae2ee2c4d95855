// How much script the device's script area holds. A script write starts at
// the start address read from device address 3 and must end below the end of
// the transfer buffer: past it lie the settings at 1400h and the identity
// blocks, which a longer script would overwrite.
#pragma once

#include <cstdint>
#include <string>

#include "device_stores.h"
#include "engine.h"

namespace device {

// The longest script that fits from `start`; 0 when none does. A write's
// last byte is its end mark, or in block mode the last of a block of 00
// written from the end mark on.
int32_t LongestScript(int32_t start, bool block_mode);
bool ScriptFits(int32_t start, int64_t length, bool block_mode);
// A write of the script text that does not fit from `start`: counts its data
// bytes (55, AA, the script, the end mark) as failed and says why in the
// status bar.
void RefuseTooLongScript(engine::Engine& engine, DeviceStores& stores, int32_t start,
                         bool block_mode);

}  // namespace device
