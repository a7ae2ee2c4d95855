// The device stores that the device words and the response dispatcher share.
// Fixed in size, process-wide (one instance for the program's run), never saved.
// No Qt here.
#pragma once

#include <array>
#include <climits>
#include <cstdint>
#include <string>
#include <vector>

namespace device {

inline constexpr int kFirstLink = 1;
inline constexpr int kLastLink = 8;
inline constexpr int kFirstPair = 9;
inline constexpr int kLastModule = 32;
inline constexpr int kItems = 255;
inline constexpr int kSlots = 9;
inline constexpr int kTransferSize = 5001;  // device addresses 0 to 5000
inline constexpr int kNotReceived = 511;

// Entry of the channel pair table: a device reached through a link.
struct ChannelPair {
  int32_t link = 0;  // 0 = free
  int32_t address = 0;
};

struct RecordHook {
  int32_t link = 0;  // 0 = off
  std::string line;
};

struct ScriptTransfer {
  int32_t module = 0;
  int32_t address = 0;
  int32_t next_address = 0;
  int32_t start_address = 0;
  int32_t last_answered = 0;
  std::string script_text;
  bool write = false;
  bool block_mode = false;
  std::string last_request;
  std::array<int32_t, kTransferSize> buffer;

  ScriptTransfer() { buffer.fill(kNotReceived); }
};

struct PhoneRead {
  int32_t record_number = 0;
  int32_t module = 0;
  int32_t address = 0;
  int32_t status = 0;
  std::string digits;
};

class DeviceStores {
 public:
  DeviceStores();

  static bool IsLink(int32_t module) { return module >= kFirstLink && module <= kLastLink; }
  static bool IsPair(int32_t module) { return module >= kFirstPair && module <= kLastModule; }
  static bool IsModule(int32_t module) { return module >= kFirstLink && module <= kLastModule; }

  // Channel pair entry 9..32; nullptr outside.
  ChannelPair* Pair(int32_t module);

  // Response store slot; nullptr when module, item or slot is out of range.
  std::string* Response(int32_t module, int32_t item, int32_t slot);
  void ClearItem(int32_t module, int32_t item);

  // The link the exchanges ran on is gone: a script transfer or phone read
  // under way ends, so that no answer from a device that comes back later
  // starts a write queued for the old one.
  void EndExchanges();

  // Connection table flag; false (and untouched) out of range.
  bool Connected(int32_t row, int32_t item) const;
  void SetConnected(int32_t row, int32_t item, bool on);
  void ClearConnectionRow(int32_t row);

  std::array<ChannelPair, kLastModule + 1> channel_pairs;  // 9..32 used
  bool pending_pacing = false;
  RecordHook record_hook;
  bool snapshot = false;
  ScriptTransfer transfer;
  PhoneRead phone;
  // Data bytes of write records the device still refused after their repeat,
  // or that never reached it, since WRFAILS last read them.
  int32_t failed_write_bytes = 0;
  // The same, never read back to 0: what a run without a window reports.
  int64_t failed_write_total = 0;
  void CountFailedWrite(int32_t bytes) {
    if (bytes <= 0) return;
    failed_write_total += bytes;
    failed_write_bytes = bytes > INT32_MAX - failed_write_bytes ? INT32_MAX : failed_write_bytes + bytes;
  }

 private:
  static size_t ResponseIndex(int32_t module, int32_t item, int32_t slot);

  std::vector<std::string> responses_;  // 32 * 255 * 9 = 73440 texts
  std::array<std::array<uint8_t, kItems + 1>, kLastModule + 1> connections_{};
};

}  // namespace device
