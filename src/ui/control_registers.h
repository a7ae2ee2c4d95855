// The registers the control words share: current ID, ID map, pool fill
// counts, pending properties, item list, I register, and the event script
// table with the last event tag that event routing reads and writes.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace ui {

enum class PoolKind { kLabel, kCombo, kCheck, kDbCheck, kBevel, kButton };
inline constexpr int kPoolKinds = 6;

struct ControlRegisters {
  static constexpr int32_t kIdLimit = 100;  // creation words act below this
  static constexpr int kItems = 100;
  static constexpr int kEventScripts = 101;  // entries 0..100

  int32_t current_id = 1;
  std::array<int32_t, kIdLimit + 1> id_map{};  // numbers 1..100
  // May run past the pool sizes; members are handed out only within them.
  std::array<int64_t, kPoolKinds> fill_counts{};

  // Pending properties; positions and sizes are pixels.
  int32_t left = 0;
  int32_t top = 0;
  int32_t width = 0;
  int32_t height = 0;
  std::string text;
  std::string field;
  std::string on_change;
  std::string on_close;
  std::string style;
  int32_t index = 0;
  int32_t image = 0;
  int32_t checks = 0;
  int32_t font_size = 8;
  int32_t range_low = 0;  // number range of the next COMBO; none while high < low
  int32_t range_high = -1;

  std::array<std::string, kItems + 1> items;  // 1..100
  int64_t item_count = 0;                     // may exceed 100
  int32_t i_register = 1;

  std::array<std::string, kEventScripts> event_scripts;
  int32_t last_event_tag = 0;

  int64_t& FillCount(PoolKind kind) { return fill_counts[static_cast<int>(kind)]; }
  // ID map entry of number n, or nullptr outside 1..100.
  int32_t* IdMapEntry(int64_t n) {
    return n >= 1 && n <= kIdLimit ? &id_map[static_cast<size_t>(n)] : nullptr;
  }
  const int32_t* IdMapEntry(int64_t n) const {
    return n >= 1 && n <= kIdLimit ? &id_map[static_cast<size_t>(n)] : nullptr;
  }
  // Items 1..min(count, 100).
  int ItemsInForce() const { return item_count < kItems ? static_cast<int>(item_count) : kItems; }
  void SetEventScript(int64_t n, const std::string& script) {
    if (n >= 0 && n < kEventScripts) event_scripts[static_cast<size_t>(n)] = script;
  }
};

}  // namespace ui
