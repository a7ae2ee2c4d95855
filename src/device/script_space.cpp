#include "script_space.h"

#include <algorithm>
#include <limits>

#include "cp1251.h"

namespace device {

namespace {

constexpr int64_t kLastAddress = kTransferSize - 1;
constexpr int64_t kSignatureBytes = 2;
constexpr int64_t kBlockPadding = 15;

// The highest device address that a write of `length` script bytes touches.
int64_t ScriptWriteEnd(int32_t start, int64_t length, bool block_mode) {
  return int64_t{start} + kSignatureBytes + length + (block_mode ? kBlockPadding : 0);
}

}  // namespace

int32_t LongestScript(int32_t start, bool block_mode) {
  const int64_t longest = kLastAddress - ScriptWriteEnd(start, 0, block_mode);
  return static_cast<int32_t>(std::clamp<int64_t>(longest, 0, kLastAddress));
}

bool ScriptFits(int32_t start, int64_t length, bool block_mode) {
  return ScriptWriteEnd(start, length, block_mode) <= kLastAddress;
}

void RefuseTooLongScript(engine::Engine& engine, DeviceStores& stores, int32_t start,
                         bool block_mode) {
  const int64_t length = static_cast<int64_t>(stores.transfer.script_text.size());
  stores.CountFailedWrite(static_cast<int32_t>(
      std::min<int64_t>(length + kSignatureBytes + 1, std::numeric_limits<int32_t>::max())));
  engine.ShowStatus(engine::Cp1251("Скрипт не записан: скрипт длиннее памяти устройства (") +
                    std::to_string(length) + engine::Cp1251(" из ") +
                    std::to_string(LongestScript(start, block_mode)) + engine::Cp1251(" байт)."));
}

}  // namespace device
