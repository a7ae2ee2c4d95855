#include "dispatcher.h"

#include "guarded.h"
#include "record_keeping.h"
#include "refused_command.h"

namespace device {

Dispatcher::Dispatcher(engine::Engine& engine, DeviceStores& stores, LinkTable& links,
                       DispatcherHost& host)
    : engine_(engine),
      stores_(stores),
      host_(host),
      queue_(engine, links),
      script_(engine, stores.transfer, stores, queue_),
      phone_(stores.phone, host) {}

void Dispatcher::OnRecord(std::string_view record, bool refusal_taken) {
  // A fault skips the rest of this record's handling; the link goes on.
  Guarded([&] {
    if (const auto parsed = DeviceRecord::Parse(record)) Handle(*parsed, refusal_taken);
  });
}

void Dispatcher::TakeRefusal(std::string_view record) {
  Guarded([&] {
    const auto parsed = DeviceRecord::Parse(record);
    if (parsed && parsed->code() == kRefused) RefusedCommand(parsed->address());
  });
}

void Dispatcher::Handle(const DeviceRecord& record, bool refusal_taken) {
  engine_.LogReceived(record.text());
  RunRecordHook(record);
  if (record.code() == kRefused) {
    if (!refusal_taken) RefusedCommand(record.address());
    script_.TakeRefusal(record.address());
  }
  if (!record.FromModule()) return;
  StoreResponse(stores_, record);
  if (AnnouncesModule(record)) AssignChannelPair(stores_, record.address());
  if (script_.Answers(record)) script_.Take(record);
  if (phone_.Answers(record)) phone_.Take(record);
  host_.KeepWaitAlive();
}

void Dispatcher::RunRecordHook(const DeviceRecord& record) {
  const RecordHook& hook = stores_.record_hook;
  if (hook.link != 1 || engine_.busy()) return;
  std::string line = hook.line;  // the line may replace the hook
  engine_.Push(record.text());
  engine_.ExecuteLine(line);
}

void Dispatcher::RefusedCommand(int32_t address) {
  if (LinkEnd* link = queue_.Link()) TakeRefusedCommand(*link, stores_, script_, address);
}

}  // namespace device
