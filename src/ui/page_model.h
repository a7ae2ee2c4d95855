// The page as data: the control registers, the event script table and which
// pool member each control number was given. No widgets: the window shows
// what the model decides.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "control_registers.h"

namespace ui {

// Every kind of page control, lowest in the stacking order first: frames and
// texts lie under the controls an operator works with.
enum class ControlKind {
  kBevel,
  kLabel,
  kGrid,
  kNavigator,
  kTabStrip,
  kCombo,
  kCheck,
  kDbCheck,
  kButton,
  kMemo,
  kDir,
};
inline constexpr int kControlKinds = 11;

// How a kind's creation word finds its member and number.
enum class Numbering {
  kReused,    // the number gets back the member it had
  kTaken,     // always the next member of the pool
  kOnce,      // the single member; the number advances only the first time
  kUnmapped,  // the member the word names; the ID map is not touched
};

struct KindRule {
  Numbering numbering;
  PoolKind pool;  // the fill count of kReused and kTaken
  bool routed;    // gets a tag and the pending on-change script
};

// The number a creation word gives and the member it places; position 0
// when the pool is used up.
struct Slot {
  int32_t number;
  int position;
};

class PageModel {
 public:
  ControlRegisters& registers() { return registers_; }
  const ControlRegisters& registers() const { return registers_; }

  // Nothing at 100 and above, nor below 1 where no ID map entry exists.
  // `member` is the named member of a kUnmapped kind.
  std::optional<Slot> Allocate(const KindRule& rule, int pool_size, int member);
  // After the creation word: the next number.
  void Placed(const KindRule& rule, const Slot& slot);
  // SCLEAR: numbers from 1 again, no member given out; the rest stays.
  void Clear();

  // Empty outside 0..100.
  const std::string& EventScript(int tag) const;
  // The pool position the last event's number was given; 0 for none.
  int32_t LastEventPosition() const;
  // Items 1 to the item count, at most 100.
  std::vector<std::string> Items() const;

 private:
  ControlRegisters registers_;
};

}  // namespace ui
