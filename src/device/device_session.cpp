#include "device_session.h"

#include "connect_hook.h"
#include "device_words.h"
#include "engine.h"
#include "rs.h"
#include "run_until.h"
#include "write_session.h"

namespace device {

void DropUnsent(zlink::LinkRegistry& links, DeviceStores& stores, bool close_session) {
  if (zlink::RSThread* link = links.InSlot(1)) {
    std::string& queue = link->SendQueue();
    stores.CountFailedWrite(zlink::QueuedWriteBytes(queue));
    queue.clear();
    if (close_session && link->WriteSessionOpen()) queue = "02 02 B1 ";
  }
  stores.EndExchanges();
}

DeviceSession::DeviceSession(engine::Engine& engine, QObject* parent)
    : QObject(parent), engine_(engine), wait_(engine), dispatcher_(engine, stores_, links_, wait_) {
  wait_.SetLinks(&links_);
  wait_.SetOnLinkLost([this] { DropUnsent(links_, stores_, false); });
  wait_.SetOnAbandon([this] { DropUnsent(links_, stores_, true); });
}

DeviceSession::~DeviceSession() {
  connect_hook_.reset();
  links_.StopAll();
}

void DeviceSession::RegisterWords() {
  RegisterDeviceWords(engine_, stores_, links_);
  engine::AddWords(engine_, kWaitWords, wait_);
}

zlink::RSThread* DeviceSession::Open(const QString& port) {
  zlink::RSThread* link = zlink::RSThread::StartLink(port, this);
  links_.SetCurrent(link);
  if (!link) return nullptr;
  // Every record counts as coming from link 1, whatever number the link gives.
  link->OnRecord = [this](zlink::RSThread&, int, const std::string& record) { OnRecord(record); };
  links_.Put(1, link);
  return link;
}

DeviceSession::FirstAnswer DeviceSession::OpenAndAwaitAnswer(const QString& port,
                                                             QDeadlineTimer deadline) {
  Open(port);
  if (!PortOpen()) return FirstAnswer::kPortNotOpened;
  RunUntil([this] { return Answered() || !PortOpen(); }, deadline);
  if (!PortOpen()) return FirstAnswer::kPortLost;
  return Answered() ? FirstAnswer::kAnswered : FirstAnswer::kNoAnswer;
}

void DeviceSession::OnRecord(const std::string& record) {
  if (!hold_ || !hold_->Holding()) {
    dispatcher_.OnRecord(record);
    return;
  }
  // The refusal is answered now, before the link sends anything else.
  dispatcher_.TakeRefusal(record);
  hold_->Later([this, record] { dispatcher_.OnRecord(record, true); });
}

void DeviceSession::StopLink() {
  zlink::RSThread* link = links_.Current();
  if (!link) return;
  wait_.LinkLost();
  // The registry forgets the link in every place it held.
  zlink::RSThread::StopLink(link);
}

void DeviceSession::RunConnectHook() {
  if (connect_hook_) return;
  connect_hook_ = std::make_unique<ConnectHook>(engine_, links_, [this] { return !wait_.Armed(); });
}

bool DeviceSession::Answered() const {
  const zlink::RSThread* link = links_.InSlot(1);
  return link && link->Answered();
}

bool DeviceSession::PortOpen() const {
  zlink::RSThread* link = links_.InSlot(1);
  return link && link->Driver() && link->Driver()->Connected();
}

bool DeviceSession::Lost() const {
  return !PortOpen() || links_.state() == zlink::LinkState::kNotConnected;
}

void DeviceSession::EndAfterLoss() {
  if (wait_.Armed()) {
    wait_.LinkLost();
  } else {
    DropUnsent(links_, stores_, false);
  }
}

bool DeviceSession::Settled() const {
  if (wait_.Armed() || !wait_.pending_script().empty()) return false;
  const zlink::RSThread* link = links_.InSlot(1);
  return !link || (link->SendQueue().empty() && !link->WriteSessionOpen());
}

uint64_t DeviceSession::records_given_up() const {
  const zlink::RSThread* link = links_.InSlot(1);
  return link ? link->RecordsGivenUp() : 0;
}

void DeviceSession::AddLinkMemoLine(const std::string& line) { emit LinkLine(line); }

void DeviceSession::ReportState(zlink::LinkState state) { links_.Report(state); }

}  // namespace device
