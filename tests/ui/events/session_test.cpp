// The device side on in-memory ports, the link timer run out by hand: the link
// state and its label, the supervision's ticks, the operator's port choice,
// the tool-bar refusal without a port and ONCONNECT waiting its turn.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <memory>

#include "connect_hook.h"
#include "control_words.h"
#include "event_harness.h"
#include "event_system.h"
#include "frame.h"
#include "link_registry.h"
#include "main_form.h"
#include "memory_port.h"
#include "port_supervision.h"
#include "supervision_system.h"

namespace {

using zlink::LinkState;

class Session : public ::testing::Test {
 protected:
  Session() : engine_(&form_), events_(form_, engine_) {
    zlink::SetLinkLogFolder(folder_.Dir());
    engine::RegisterCoreWords(engine_);
    ui::RegisterControlWords(engine_, form_);
    ui::RegisterEventWords(engine_, events_);
    ui_test::RegisterMark(engine_, trail_);
    folder_.Write(engine_, {{"MAIN", "`main` MARK"}, {"ONCONNECT", "`connect` MARK"}});
    a_.Plug();
    b_.Plug();
  }
  ~Session() override {
    device_.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    zlink::SetLinkLogFolder(QString());
  }

  void Start(const QStringList& ports) {
    device_ = std::make_unique<ui::DeviceLinkSystem>(form_, engine_, events_, ports);
    device_->supervision().StartFirstLink();
  }
  zlink::LinkRegistry& links() { return device_->links(); }
  QString Port() { return links().Current() ? links().Current()->PortName() : QString(); }
  std::string Trail() const { return ui_test::Joined(trail_); }
  // A frame from the device, read at the driver's next poll of the port.
  static void Send(zlink::MemoryPort& port, const std::string& frame) {
    port.Deliver(QByteArray::fromStdString(frame + "\r\n"));
  }
  bool Connected() {
    return QTest::qWaitFor([&] { return links().state() == LinkState::kConnected; }, 2000);
  }
  // The link timer of the current link runs out.
  void LinkTimerRunsOut() {
    auto* timer = links().Current()->findChild<QTimer*>(QStringLiteral("LinkTimer"));
    ASSERT_NE(timer, nullptr);
    ASSERT_TRUE(timer->isActive());
    ASSERT_EQ(timer->interval(), zlink::RSThread::kLinkTimeoutMs);
    QMetaObject::invokeMethod(timer, "timeout");
  }

  ui::TMainForm form_;
  engine::Engine engine_;
  ui::EventSystem events_;
  ui_test::ScriptFolder folder_;
  std::vector<std::string> trail_;
  zlink::MemoryPort a_{QStringLiteral("zelt-a")}, b_{QStringLiteral("zelt-b")};
  std::unique_ptr<ui::DeviceLinkSystem> device_;
};

TEST_F(Session, TheLabelShowsTheLinkStateAsItChanges) {
  Start({"zelt-a"});
  QSignalSpy changes(&links(), &zlink::LinkRegistry::StateChanged);
  EXPECT_EQ(form_.LabelStatCon()->text(), QString::fromUtf8("ZELT-2GSM - Нет подключения."));
  Send(a_, zlink::BuildFrame(2, std::string("\x43\x00", 2)));  // a poll
  ASSERT_TRUE(Connected());
  EXPECT_EQ(form_.LabelStatCon()->text(), QString::fromUtf8("ZELT-2GSM - Подключено."));
  ASSERT_NO_FATAL_FAILURE(LinkTimerRunsOut());
  EXPECT_EQ(links().state(), LinkState::kNotConnected);
  EXPECT_EQ(form_.LabelStatCon()->text(), QString::fromUtf8("ZELT-2GSM - Нет подключения."));
  Send(a_, ":024300BC");  // a bad checksum is contact too
  ASSERT_TRUE(Connected());
  EXPECT_EQ(changes.count(), 3);
}

TEST_F(Session, APortThatGoesOrIsLeftEndsTheConnectionAtOnce) {
  Start({"zelt-a", "zelt-b"});
  Send(a_, zlink::BuildFrame(2, std::string("\x43\x00", 2)));
  ASSERT_TRUE(Connected());
  a_.Unplug();
  EXPECT_EQ(links().state(), LinkState::kNotConnected);
  EXPECT_EQ(form_.LabelStatCon()->text(), QString::fromUtf8("ZELT-2GSM - Нет подключения."));

  a_.Plug();
  form_.ComboBoxCom()->setCurrentIndex(1);
  Send(b_, zlink::BuildFrame(2, std::string("\x43\x00", 2)));
  ASSERT_TRUE(Connected());
  // The operator moves to a port whose device has not answered yet.
  form_.ComboBoxCom()->setCurrentIndex(0);
  EXPECT_EQ(links().state(), LinkState::kNotConnected);
}

TEST_F(Session, SupervisionMovesOnOnlyWhileTheStateIsNotConnected) {
  Start({"zelt-a", "zelt-b"});
  EXPECT_EQ(Port(), "zelt-a");
  device_->supervision().Tick();
  EXPECT_EQ(Port(), "zelt-b");
  device_->supervision().Tick();
  EXPECT_EQ(Port(), "zelt-a");
  EXPECT_EQ(device_->supervision().cycle_index(), 0);

  Send(a_, zlink::BuildFrame(2, std::string("\x43\x00", 2)));
  ASSERT_TRUE(Connected());
  // The caption is drawn from the state, never read back.
  form_.LabelStatCon()->setText(QString::fromUtf8("ZELT-2GSM - Нет подключения."));
  device_->supervision().Tick();
  EXPECT_EQ(Port(), "zelt-a");
  ASSERT_NO_FATAL_FAILURE(LinkTimerRunsOut());
  device_->supervision().Tick();
  EXPECT_EQ(Port(), "zelt-b");
}

TEST_F(Session, TheOperatorsPortChoiceMovesTheLinkAtOnce) {
  Start({"zelt-a", "zelt-b"});
  zlink::RSThread* before = links().Current();
  form_.ComboBoxCom()->setCurrentIndex(1);
  EXPECT_NE(links().Current(), before);
  EXPECT_EQ(Port(), "zelt-b");
  EXPECT_EQ(links().InSlot(1), links().Current());
  EXPECT_EQ(device_->supervision().cycle_index(), 0);
}

TEST_F(Session, ToolBarRefusesWithoutAnOpenPort) {
  Start({"zelt-missing"});
  form_.Button16()->click();
  EXPECT_EQ(form_.StatusText(),
            QString::fromUtf8("Нет связи с устройством: порт не открыт, подробности на странице."));
  EXPECT_EQ(Trail(), "");
  // The operator picks a port that is there (on Windows a bare name that is
  // missing still stands in the list).
  form_.ComboBoxCom()->addItem("zelt-a");
  form_.ComboBoxCom()->setCurrentIndex(form_.ComboBoxCom()->count() - 1);
  form_.Button16()->click();
  EXPECT_EQ(Trail(), "main");
}

TEST_F(Session, OnConnectRunsWithTheChangeToConnected) {
  Start({"zelt-a"});
  std::string when_changed;
  QObject listener;
  QObject::connect(&links(), &zlink::LinkRegistry::StateChanged, &listener,
                   [&] { when_changed = Trail(); });
  Send(a_, zlink::BuildFrame(2, std::string("\x43\x00", 2)));
  ASSERT_TRUE(Connected());
  EXPECT_EQ(when_changed, "connect");
}

TEST_F(Session, OnConnectWaitsForTheDeviceWaitAndRunsOncePerLink) {
  Start({"zelt-a"});
  engine_.ExecuteLine("60000 WAITREAD");
  ASSERT_TRUE(events_.wait().Armed());
  Send(a_, zlink::BuildFrame(2, std::string("\x43\x00", 2)));
  ASSERT_TRUE(Connected());
  QTest::qWait(3 * device::ConnectHook::kRetryMs);
  EXPECT_EQ(Trail(), "");
  engine_.ExecuteLine("0 WAITREAD");
  ASSERT_TRUE(QTest::qWaitFor([&] { return Trail() == "connect"; }, 2000));
  Send(a_, zlink::BuildFrame(2, std::string("\x43\x00", 2)));
  QTest::qWait(3 * device::ConnectHook::kRetryMs);
  EXPECT_EQ(Trail(), "connect");
}

}  // namespace
