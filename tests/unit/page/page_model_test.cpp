// The page model's numbering, with no window: which member and number each
// kind of creation word gets, step by step on one model.
#include <gtest/gtest.h>

#include <optional>

#include "page_model.h"

namespace {

using ui::KindRule;
using ui::Numbering;
using ui::PageModel;
using ui::PoolKind;

constexpr KindRule kLabel{Numbering::kReused, PoolKind::kLabel, false};
constexpr KindRule kCheck{Numbering::kTaken, PoolKind::kCheck, true};
constexpr KindRule kMemo{Numbering::kOnce, PoolKind::kLabel, true};
constexpr KindRule kGrid{Numbering::kUnmapped, PoolKind::kLabel, true};

struct Step {
  const char* what;
  int32_t id;  // the current ID the step starts from
  KindRule rule;
  int pool_size;
  int position;     // the member given; -1: nothing done
  int32_t id_after;
};

TEST(PageModelTest, NumbersAndMembersOfTheCreationWords) {
  PageModel page;
  page.registers().on_change = "s";
  const Step steps[] = {
      {"first label", 1, kLabel, 2, 1, 2},
      {"second label", 2, kLabel, 2, 2, 3},
      {"number 1 gets its label back", 1, kLabel, 2, 1, 2},
      {"pool used up: only the number advances", 3, kLabel, 2, 0, 4},
      {"check boxes always take the next member", 5, kCheck, 2, 1, 6},
      {"", 5, kCheck, 2, 2, 6},
      {"", 5, kCheck, 2, 0, 6},
      {"the memo's first time advances", 7, kMemo, 1, 1, 8},
      {"a second memo keeps the number", 7, kMemo, 1, 1, 7},
      {"the named grid, the ID map untouched", 9, kGrid, 3, 3, 10},
      {"99 is the last number", 99, kGrid, 3, 3, 100},
      {"at 100 nothing", 100, kLabel, 2, -1, 100},
      {"below 1 nothing", 0, kGrid, 3, -1, 0},
  };
  for (const Step& step : steps) {
    page.registers().current_id = step.id;
    const std::optional<ui::Slot> slot = page.Allocate(step.rule, step.pool_size, 3);
    EXPECT_EQ(slot ? slot->position : -1, step.position) << step.what;
    if (slot) page.Placed(step.rule, *slot);
    EXPECT_EQ(page.registers().current_id, step.id_after) << step.what;
  }
  ui::ControlRegisters& r = page.registers();
  EXPECT_EQ(r.id_map[9], 0);
  EXPECT_EQ(r.event_scripts[3], "");   // labels get no script
  EXPECT_EQ(r.event_scripts[5], "s");  // stored although the pool ran out
  EXPECT_EQ(r.event_scripts[0], "");

  page.registers().last_event_tag = 5;
  EXPECT_EQ(page.LastEventPosition(), 2);  // the last check box number 5 got
  page.Clear();
  EXPECT_EQ(r.current_id, 1);
  EXPECT_EQ(page.LastEventPosition(), 0);
  EXPECT_EQ(r.FillCount(PoolKind::kLabel), 0);
  EXPECT_EQ(page.EventScript(5), "s");  // SCLEAR leaves the scripts
}

}  // namespace
