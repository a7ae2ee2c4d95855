#include "write_session.h"

#include <algorithm>
#include <climits>

#include "UHex.h"

namespace zlink {

namespace {

constexpr uint8_t kWrite = 0x6F;
constexpr uint8_t kOpenWriting = 0xB0;
constexpr uint8_t kCloseWriting = 0xB1;

uint8_t Command(std::string_view record) {
  return record.size() > 2 ? static_cast<uint8_t>(record[2]) : 0;
}

}  // namespace

int32_t WriteDataBytes(std::string_view record) {
  if (Command(record) != kWrite) return 0;
  // 04 a 6F addr b carries one byte; from five on: a 6F lo hi and L - 4 bytes.
  const int32_t length = static_cast<uint8_t>(record[0]);
  if (length == 4) return 1;
  return std::max(length - 4, 0);
}

int32_t QueuedWriteBytes(std::string queue) {
  int64_t bytes = 0;
  for (std::string record = uhex::TakeRecord(queue); !record.empty();
       record = uhex::TakeRecord(queue)) {
    bytes += WriteDataBytes(uhex::SpacedHexToBytes(record));
  }
  return static_cast<int32_t>(std::min<int64_t>(bytes, INT32_MAX));
}

void WriteSession::Sent(std::string_view record, bool repeat) {
  const uint8_t command = Command(record);
  if (command != kCloseWriting) closing_bytes_ = 0;  // the close before was taken
  if (repeat) return;
  switch (command) {
    case kOpenWriting:
      open_ = true;
      session_bytes_ = 0;
      break;
    case kCloseWriting:
      open_ = false;
      closing_bytes_ = session_bytes_;
      session_bytes_ = 0;
      break;
    case kWrite:
      session_bytes_ += WriteDataBytes(record);
      break;
    default:
      break;
  }
}

int32_t WriteSession::Failed(std::string_view record) {
  if (Command(record) == kCloseWriting) {
    const int32_t bytes = closing_bytes_;
    closing_bytes_ = 0;
    return bytes;
  }
  const int32_t bytes = WriteDataBytes(record);
  session_bytes_ = std::max(session_bytes_ - bytes, 0);
  return bytes;
}

}  // namespace zlink
