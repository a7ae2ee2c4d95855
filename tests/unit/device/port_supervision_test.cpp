// The port supervision on a device session with no window, over in-memory
// ports: the port list follows the ticks and the operator's pick, and a link
// whose ports have all gone is dropped after PortsGone.
#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTemporaryDir>

#include "cp1251.h"
#include "device_session.h"
#include "engine.h"
#include "link_registry.h"
#include "memory_port.h"
#include "port_supervision.h"
#include "rs.h"

namespace {

using device::PortSupervision;

// Names with a folder: on Windows a bare name counts as present even unplugged.
const QString kA = QStringLiteral("memory/zelt-a");
const QString kB = QStringLiteral("memory/zelt-b");

class Supervision : public ::testing::Test {
 protected:
  Supervision() {
    zlink::SetLinkLogFolder(logs_.path());
    engine::RegisterCoreWords(engine_);
    a_.Plug();
    b_.Plug();
  }
  ~Supervision() override { zlink::SetLinkLogFolder(QString()); }

  zlink::LinkRegistry& links() { return session_.links(); }
  QString Port() { return links().Current() ? links().Current()->PortName() : QString(); }

  QTemporaryDir logs_;
  engine::Engine engine_;
  zlink::MemoryPort a_{kA}, b_{kB};
  device::DeviceSession session_{engine_};
  PortSupervision supervision_{session_, {kA, kB}};
};

TEST_F(Supervision, TheListFollowsTheTicksUntilTheDeviceAnswers) {
  std::string status;
  QObject::connect(&supervision_, &PortSupervision::Status, &supervision_,
                   [&](const std::string& text) { status = text; });
  ASSERT_TRUE(supervision_.StartFirstLink());
  EXPECT_EQ(supervision_.ports().names(), QStringList({kA, kB}));
  EXPECT_EQ(supervision_.ports().current(), 0);
  EXPECT_EQ(status, engine::Cp1251("Ожидание ответа оборудования."));

  supervision_.Tick();
  EXPECT_EQ(Port(), kB);
  EXPECT_EQ(supervision_.ports().current(), 1);
  EXPECT_EQ(links().InSlot(1), links().Current());

  links().Report(zlink::LinkState::kConnected);
  supervision_.Tick();
  EXPECT_EQ(Port(), kB);
}

TEST_F(Supervision, TheOperatorsPickMovesTheLinkAndStandsInTheList) {
  supervision_.StartFirstLink();
  supervision_.Choose(kB);
  EXPECT_EQ(Port(), kB);
  EXPECT_EQ(supervision_.ports().current(), 1);
  EXPECT_EQ(supervision_.cycle_index(), 0);

  // A port the scan did not offer (on Windows a bare name typed in).
  zlink::MemoryPort c(QStringLiteral("memory/zelt-c"));
  c.Plug();
  supervision_.Choose(c.name());
  EXPECT_EQ(Port(), c.name());
  EXPECT_EQ(supervision_.ports().names(), QStringList({kA, kB, c.name()}));
  EXPECT_EQ(supervision_.ports().current(), 2);
}

TEST_F(Supervision, TheLinkGoesAfterPortsGoneWhenEveryPortHasGone) {
  supervision_.StartFirstLink();
  bool link_held_when_told = false;
  QObject::connect(&supervision_, &PortSupervision::PortsGone, &supervision_,
                   [&] { link_held_when_told = links().Current() != nullptr; });
  QSignalSpy gone(&supervision_, &PortSupervision::PortsGone);
  a_.Unplug();
  b_.Unplug();
  supervision_.Tick();
  EXPECT_EQ(gone.count(), 1);
  EXPECT_TRUE(link_held_when_told);
  EXPECT_EQ(links().Current(), nullptr);
  EXPECT_EQ(links().InSlot(1), nullptr);
  EXPECT_TRUE(supervision_.ports().names().isEmpty());
  EXPECT_EQ(supervision_.ports().current(), -1);
  EXPECT_FALSE(supervision_.StartFirstLink());

  supervision_.Tick();
  EXPECT_EQ(gone.count(), 1);
  a_.Plug();
  supervision_.Tick();
  EXPECT_EQ(Port(), kA);
}

}  // namespace
