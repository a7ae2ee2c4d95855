// A full read of the shipped pages shows its progress in the status bar, and
// the read button does not start a second one meanwhile.
#include <QProgressBar>

#include "link_table.h"
#include "rs.h"
#include "shipped_fixture.h"
#include "transfer_progress.h"

namespace window_e2e {
namespace {

class Progress : public shipped_e2e::Shipped {
 protected:
  int Queued() {
    zlink::RSThread* link = zlink::LinkInSlot(1);
    return link ? ui::CountQueuedRecords(link->SendQueue()) : 0;
  }
};

TEST_F(Progress, ReadShowsRecordsSentOfQueuedAndRefusesASecondRead) {
  ASSERT_NO_FATAL_FAILURE(Start());
  ui::TransferProgress& progress = program_->events->progress();
  QProgressBar* bar = progress.Bar();
  EXPECT_FALSE(bar->isVisible());
  form().Button16()->click();
  ASSERT_GT(Queued(), 1);
  ASSERT_TRUE(device_e2e::WaitFor([&] { return bar->isVisible() && bar->value() > 0; }, 10000));
  EXPECT_EQ(progress.Caption(), QString::fromUtf8("Обмен с устройством"));
  EXPECT_LT(bar->value(), bar->maximum());
  EXPECT_EQ(bar->maximum(), bar->value() + Queued());

  // The second click queues nothing and says why.
  const int queued = Queued();
  const int maximum = bar->maximum();
  form().Button16()->click();
  EXPECT_EQ(Status(), QString::fromUtf8("Идёт обмен с устройством: дождитесь его окончания."));
  EXPECT_LE(Queued(), queued);
  form().Button17()->click();
  EXPECT_LE(Queued(), queued);

  // The bar only ever moves on, and ends full before it goes.
  int last = bar->value();
  bool full = false;
  ASSERT_TRUE(device_e2e::WaitFor(
      [&] {
        if (!bar->isVisible()) return true;
        EXPECT_GE(bar->value(), last);
        EXPECT_EQ(bar->maximum(), maximum);
        last = bar->value();
        full |= bar->maximum() > 0 && bar->value() == bar->maximum();
        return false;
      },
      30000));
  EXPECT_TRUE(full);
  EXPECT_TRUE(WaitStatus("Чтение из устройства завершено.", 1000)) << Status().toStdString();
}

TEST_F(Progress, ScriptSetsTheCaption) {
  ASSERT_NO_FATAL_FAILURE(Start());
  program_->engine.ExecuteLine(engine::Cp1251("`Чтение настроек` PROGRESS"));
  EXPECT_EQ(program_->events->progress().Caption(), QString::fromUtf8("Чтение настроек"));
  program_->engine.ExecuteLine("`` PROGRESS");
  EXPECT_EQ(program_->events->progress().Caption(), QString::fromUtf8("Обмен с устройством"));
}

TEST(QueuedRecords, CountedAsTheLinkTakesThem) {
  EXPECT_EQ(ui::CountQueuedRecords(""), 0);
  EXPECT_EQ(ui::CountQueuedRecords("03 02 A0 01 "), 1);
  EXPECT_EQ(ui::CountQueuedRecords("03 02 A0 01 02 02 B1 "), 2);
  EXPECT_EQ(ui::CountQueuedRecords("  03 02 A0 01   02 02 B1 \r\n03 02 A0 02 \r\n"), 3);
  std::string many;
  for (int i = 0; i < 5000; ++i) many += "03 02 A0 01 ";
  EXPECT_EQ(ui::CountQueuedRecords(many), 5000);
  EXPECT_EQ(ui::CountQueuedRecords("03 "), 0);  // too short: the link drops it
}

}  // namespace
}  // namespace window_e2e
