// A refusal (code 92) answers the record the link sent last, since the device
// answers each record before it polls again (not the one queued last, which
// after a batch is its close record). That record goes out again once, next,
// ahead of the queue, or counts as a failed write.
#pragma once

#include <string_view>

#include "device_link.h"
#include "device_stores.h"

namespace device {

class ScriptExchange;

// `address`: the refusing module's, for the script exchange's own restart.
void TakeRefusedCommand(LinkEnd& link, DeviceStores& stores, const ScriptExchange& script,
                        int32_t address);

}  // namespace device
