// A read shows its progress in the status bar, and the read button does not
// start a second one meanwhile.
#include <QFile>
#include <QProgressBar>

#include "link_registry.h"
#include "rs.h"
#include "shipped_fixture.h"
#include "transfer_progress.h"

namespace window_e2e {
namespace {

class Progress : public shipped_e2e::Shipped {};

// A read as a page that asks for many blocks at once makes it: MAIN queues 12
// block reads on link 1, waits for the device to answer them all, then does
// the same again.
constexpr char kBatchRead[] =
    ":START\r\n;\r\n"
    ":MAIN\r\n12 \"QUEUE_READ RUN\" FOR 400 WAITREAD 12 \"QUEUE_READ RUN\" FOR 400 WAITREAD DONE"
    "\r\n;\r\n"
    ":QUEUE_READ\r\nDROP \"05 02 AD 00 14 00 \" 1 SENDCK\r\n;\r\n";

// The simulated device and the program running `pages`, connected, its window shown.
class PagesOnDevice : public ::testing::Test, protected device_e2e::DeviceSession {
 protected:
  void Run(const char* pages) {
    QFile script(folder.filePath("Setup.KVS"));
    ASSERT_TRUE(script.open(QIODevice::WriteOnly));
    script.write(pages);
    script.close();
    ASSERT_TRUE(StartDevice(device_e2e::FastDevice(), script.fileName().toStdString()));
    program->form.show();
    ASSERT_TRUE(Connect());
  }
};

TEST_F(PagesOnDevice, ReadShowsRecordsSentOfQueuedAndRefusesASecondRead) {
  ASSERT_NO_FATAL_FAILURE(Run(kBatchRead));
  device_e2e::Program& program = *this->program;
  const auto queued = [&] {
    zlink::RSThread* link = program.device->links().InSlot(1);
    return link ? ui::CountQueuedRecords(link->SendQueue()) : 0;
  };

  ui::TransferProgress& progress = program.events->progress();
  QProgressBar* bar = progress.Bar();
  EXPECT_FALSE(bar->isVisible());
  program.form.Button16()->click();
  ASSERT_EQ(queued(), 12);
  ASSERT_TRUE(device_e2e::WaitFor([&] { return bar->isVisible() && bar->value() > 0; }, 10000));
  EXPECT_EQ(progress.Caption(), QString::fromUtf8("Обмен с устройством"));
  EXPECT_LE(bar->maximum(), 24);
  EXPECT_LT(bar->value(), bar->maximum());

  // The second click queues nothing and says why; so does the write button.
  const int before = queued();
  program.form.Button16()->click();
  EXPECT_EQ(program.form.StatusText(),
            QString::fromUtf8("Идёт обмен с устройством: дождитесь его окончания."));
  program.form.Button17()->click();
  EXPECT_LE(queued(), before);

  // The counts only ever move on over both parts; while the last record of a
  // part goes and its answers are awaited the bar is busy, never full; it
  // goes when the device wait ends.
  int last = bar->value();
  int most = 0;
  bool busy = false;
  ASSERT_TRUE(device_e2e::WaitFor(
      [&] {
        progress.Sample();
        if (!bar->isVisible()) return true;
        if (bar->maximum() == 0) {
          busy = true;
          return false;
        }
        EXPECT_GE(bar->value(), last);
        EXPECT_GE(bar->maximum(), most);
        EXPECT_LT(bar->value(), bar->maximum());
        last = bar->value();
        most = bar->maximum();
        return false;
      },
      30000));
  EXPECT_TRUE(busy);
  EXPECT_GT(most, 12);  // the second part counted on from the first
  EXPECT_LE(most, 24);
  EXPECT_EQ(program.done, 1);
  // Only one read ran: 24 records went, not 48.
  EXPECT_EQ(program.device->links().InSlot(1)->RecordsSent(), 24u);
}

// The same two parts, with the plan stated as the shipped pages state theirs.
constexpr char kPlannedRead[] =
    ":START\r\n;\r\n"
    ":MAIN\r\n1 2 PROGRESSPART 12 \"QUEUE_READ RUN\" FOR 400 WAITREAD "
    "2 2 PROGRESSPART 12 \"QUEUE_READ RUN\" FOR 400 WAITREAD DONE\r\n;\r\n"
    ":QUEUE_READ\r\nDROP \"05 02 AD 00 14 00 \" 1 SENDCK\r\n;\r\n";

TEST_F(PagesOnDevice, APlannedReadShowsOneBarOverAllItsParts) {
  ASSERT_NO_FATAL_FAILURE(Run(kPlannedRead));
  device_e2e::Program& program = *this->program;
  ui::TransferProgress& progress = program.events->progress();
  QProgressBar* bar = progress.Bar();
  program.form.Button16()->click();
  int last = 0;
  bool first_half = false;
  bool second_half = false;
  ASSERT_TRUE(device_e2e::WaitFor(
      [&] {
        progress.Sample();
        if (!bar->isVisible()) return true;
        EXPECT_EQ(bar->maximum(), 200);
        EXPECT_GE(bar->value(), last);
        EXPECT_LT(bar->value(), 200);
        last = bar->value();
        (last < 100 ? first_half : second_half) = true;
        return false;
      },
      30000));
  EXPECT_TRUE(first_half);
  EXPECT_TRUE(second_half);
  EXPECT_EQ(program.done, 1);

  // The plan ended with the read: a read without one counts records again.
  program.engine.ExecuteLine("\"05 02 AD 00 14 00 \" 1 SENDCK 400 WAITREAD");
  progress.Sample();
  EXPECT_TRUE(bar->isVisible());
  EXPECT_EQ(bar->maximum(), 0);
}

// A page that reads one request at a time, as the shipped pages do.
constexpr char kLoneRead[] =
    ":START\r\n;\r\n"
    ":MAIN\r\n\"05 02 AD 00 14 00 \" 1 SENDCK 400 WAITREAD DONE\r\n;\r\n";

TEST_F(PagesOnDevice, ALoneRequestShowsABusyBarNotOneOfOne) {
  ASSERT_NO_FATAL_FAILURE(Run(kLoneRead));
  device_e2e::Program& program = *this->program;

  ui::TransferProgress& progress = program.events->progress();
  program.form.Button16()->click();
  progress.Sample();
  EXPECT_TRUE(progress.Bar()->isVisible());
  EXPECT_EQ(progress.Bar()->maximum(), 0);  // busy
  ASSERT_TRUE(device_e2e::WaitFor([&] { return program.done == 1; }, 10000));
  progress.Sample();
  EXPECT_FALSE(progress.Bar()->isVisible());
}

// A script read asks for the next records as the answers come, its end
// unknown: a bar counting them would sit all but full until the end.
TEST_F(PagesOnDevice, AScriptReadShowsABusyBarNotAnAlmostFullOne) {
  ASSERT_NO_FATAL_FAILURE(Run(":START\r\n;\r\n:MAIN\r\n1 2 0 READSCR 800 WAITREAD DONE\r\n;\r\n"));
  simulator->model().SetScript(std::string(1500, 'w'));
  device_e2e::Program& program = *this->program;
  ui::TransferProgress& progress = program.events->progress();
  program.form.Button16()->click();
  int counted = 0;
  ASSERT_TRUE(device_e2e::WaitFor(
      [&] {
        progress.Sample();
        if (progress.Bar()->isVisible() && progress.Bar()->maximum() > 0) ++counted;
        return program.done == 1;
      },
      30000));
  EXPECT_EQ(counted, 0);
  EXPECT_GT(program.device->links().InSlot(1)->RecordsSent(), 90u);
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
