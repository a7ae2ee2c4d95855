#include "refused_command.h"

#include "UHex.h"
#include "script_exchange.h"

namespace device {

namespace {

// 6F 00 0B: the device will not take this write again.
bool FinalWrite(std::string_view record) {
  return record.size() >= 5 && static_cast<uint8_t>(record[2]) == 0x6F && record[3] == 0 &&
         record[4] == 0x0B;
}

bool ByteRead(std::string_view record) {
  return record.size() >= 3 && static_cast<uint8_t>(record[2]) == 0xAD;
}

}  // namespace

void TakeRefusedCommand(LinkEnd& link, DeviceStores& stores, const ScriptExchange& script,
                        int32_t address) {
  link.SetLastCommand({});
  const std::string sent = uhex::SpacedHexToBytes(link.LastSent());
  if (sent.empty()) return;
  // A refused read of the script goes on with one-byte reads by itself.
  const bool script_read = ByteRead(sent) && script.RestartsOnRefusal(address);
  stores.CountFailedWrite(link.Refused(!FinalWrite(sent) && !script_read));
}

}  // namespace device
