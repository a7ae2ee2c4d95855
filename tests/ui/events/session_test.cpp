// The device side on in-memory ports, the link timer run out by hand: the link
// state and its label, the supervision's ticks and TimerCOM, the operator's
// port choice, the tool-bar refusal without a port and ONCONNECT waiting its
// turn.
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
  Session() : engine_(&form_), session_(engine_) {
    zlink::SetLinkLogFolder(folder_.Dir());
    engine::RegisterCoreWords(engine_);
    ui::RegisterControlWords(engine_, form_);
    ui_test::RegisterMark(engine_, trail_);
    folder_.Write(engine_, {{"MAIN", "`main` MARK"}, {"ONCONNECT", "`connect` MARK"}});
    a_.Plug();
    b_.Plug();
  }
  ~Session() override {
    session_.links().StopAll();
    events_.reset();
    device_.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    zlink::SetLinkLogFolder(QString());
  }

  // The window's device side on these ports, and the first link.
  void Start(const QStringList& ports) {
    supervision_ = std::make_unique<device::PortSupervision>(session_, ports);
    device_ = std::make_unique<ui::DeviceLinkSystem>(form_, engine_, session_, *supervision_);
    events_ = std::make_unique<ui::EventSystem>(form_, *form_.TreeView(), *form_.StatusBar(),
                                                engine_, session_.wait(), session_.links(),
                                                *device_);
    session_.RegisterWords();
    session_.RunConnectHook();
    supervision_->StartFirstLink();
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
  ui_test::ScriptFolder folder_;
  std::vector<std::string> trail_;
  zlink::MemoryPort a_{QStringLiteral("zelt-a")}, b_{QStringLiteral("zelt-b")};
  device::DeviceSession session_;
  std::unique_ptr<device::PortSupervision> supervision_;
  std::unique_ptr<ui::DeviceLinkSystem> device_;
  std::unique_ptr<ui::EventSystem> events_;
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

TEST_F(Session, TimerComRunsFromTheStartAndTicksTheSupervision) {
  Start({"zelt-a", "zelt-b"});
  QTimer& timer_com = device_->timer_com();
  EXPECT_TRUE(timer_com.isActive());
  EXPECT_EQ(timer_com.interval(), 3000);
  timer_com.setInterval(10);  // not waiting three seconds in a test
  EXPECT_TRUE(QTest::qWaitFor([&] { return Port() == "zelt-b"; }, 2000));
  EXPECT_TRUE(timer_com.isActive());
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
  ASSERT_TRUE(session_.wait().Armed());
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
