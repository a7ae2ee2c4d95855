#include "device_words.h"

#include <algorithm>
#include <cctype>

#include "UHex.h"
#include "device_records.h"
#include "script_space.h"

namespace device {

namespace {

using engine::Engine;
using engine::Frame;

uint8_t LowByte(int32_t n) { return static_cast<uint8_t>(n & 0xFF); }

// The link that module m reaches and the record as it travels there: as it is
// for a link slot, forwarded through the entry's link for a channel pair.
// Returns nullptr when nothing can be queued.
LinkEnd* Route(DeviceStores& stores, LinkTable& links, int32_t module, std::string& record) {
  int32_t link_number = module;
  if (DeviceStores::IsPair(module)) {
    const ChannelPair& pair = *stores.Pair(module);
    if (pair.link == 0) return nullptr;
    record = ForwardRecord(record, LowByte(pair.address));
    if (record.empty()) return nullptr;
    link_number = pair.link;
  }
  if (!DeviceStores::IsLink(link_number)) return nullptr;
  return links.Slot(link_number);
}

void SendCk(Engine& e, DeviceStores& stores, LinkTable& links) {
  int32_t module = e.PopNumber();
  std::string record = uhex::SpacedHexToBytes(e.Pop());
  if (!ValidRecord(record)) return;
  int32_t link_number = module;
  bool free_pair = false;
  if (DeviceStores::IsPair(module)) {
    const ChannelPair& pair = *stores.Pair(module);
    if (pair.link == 0) {
      free_pair = true;
    } else if (record.size() > 1 && static_cast<uint8_t>(record[1]) == 0xFE) {
      // Ask the module for its device address 1. The length byte is counted
      // afresh so that the queue never holds a record that misstates it.
      record = {'\x03', static_cast<char>(LowByte(pair.address)), '\xAD', '\x01'};
      link_number = pair.link;
    } else {
      std::string forwarded = ForwardRecord(record, LowByte(pair.address));
      if (forwarded.empty()) return;
      record = forwarded;
      link_number = pair.link;
    }
  }
  const std::string text = uhex::BytesToSpacedHex(record);
  e.LogSent(text);
  if (free_pair || !DeviceStores::IsLink(link_number)) return;
  LinkEnd* link = links.Slot(link_number);
  if (!link || !link->Answered()) return;
  link->AppendToQueue(text);
  link->SetLastCommand(text);
  link->SetPacing(stores.pending_pacing);
  stores.pending_pacing = false;
}

// READSCR and WRITESCR: set up the transfer and ask for the start address.
void StartScript(Engine& e, DeviceStores& stores, LinkTable& links, bool write) {
  bool block = !e.Pop().empty();
  int32_t a = e.PopNumber();
  int32_t module = e.PopNumber();
  if (!DeviceStores::IsModule(module)) return;
  ScriptTransfer& t = stores.transfer;
  // A script that cannot fit at the start address read last (or at all) is
  // not begun; the dispatcher checks again at the address the device gives.
  const int32_t start = std::max(t.start_address, 0);
  if (write && !ScriptFits(start, static_cast<int64_t>(t.script_text.size()), block)) {
    RefuseTooLongScript(e, stores, start, block);
    return;
  }
  t.block_mode = block;
  t.module = module;
  t.address = a;
  t.next_address = 0;
  t.write = write;
  if (!write) {
    t.script_text.clear();
    t.last_answered = 0;
    t.last_request.clear();
  }
  t.buffer.fill(kNotReceived);
  std::string record = ReadByteRecord(LowByte(a), 3);
  if (LinkEnd* link = Route(stores, links, module, record)) {
    link->AppendToQueue(uhex::BytesToSpacedHex(record));
  }
}

void QueueOnLinkSlot(Engine& e, LinkTable& links, int32_t module, const std::string& record) {
  if (!DeviceStores::IsLink(module)) return;
  LinkEnd* link = links.Slot(module);
  if (!link) return;
  const std::string text = uhex::BytesToSpacedHex(record);
  e.LogSent(text);
  link->AppendToQueue(text);
}

}  // namespace

constexpr engine::WordRow<DeviceWordContext> kDeviceRows[] = {
    {"CONNECTED", "i m -- flag", "The connection flag of item i of row m (0: nothing sets a flag).",
     [](DeviceWordContext& c, Engine& e, Frame&) {
       int32_t module = e.PopNumber();
       int32_t item = e.PopNumber();
       bool on = false;
       if (DeviceStores::IsPair(module) && item == 254) {
         const ChannelPair& pair = *c.stores.Pair(module);
         on = pair.link != 0 && c.stores.Connected(pair.link, pair.address);
       } else {
         on = c.stores.Connected(module, item);
       }
       e.Push(engine::Truth(on));
     }},
    {"FORCONNECT", "m body -- ?",
     "Runs body, with the item number pushed first, for each item whose connection flag is set in "
     "row m.",
     [](DeviceWordContext& c, Engine& e, Frame& f) {
       std::string word = e.Pop();
       int32_t row = e.PopNumber();
       std::string text;
       for (int item = 1; item <= kItems; ++item) {
         if (!c.stores.Connected(row, item)) continue;
         text += ' ';
         text += engine::NumberToText(item);
         text += ' ';
         text += word;
       }
       text += ' ';
       f.pending.Prepend(text);
     }},
    {"SENDCK", "record m --",
     "Queues a command record (spaced hexadecimal, length byte first) for link m; the device takes "
     "it at its next poll.",
     [](DeviceWordContext& c, Engine& e, Frame&) { SendCk(e, c.stores, c.links); }},
    {"ONREADCK", "line n --",
     "Runs line, with the record's text pushed, for every record received on link n (1); 0 turns "
     "the hook off.",
     [](DeviceWordContext& c, Engine& e, Frame&) {
       int32_t link = e.PopNumber();
       std::string line = e.Pop();
       c.stores.record_hook.link = link;
       c.stores.record_hook.line = std::move(line);
     }},
    {"CLEARDATA", "--", "Empties all cells and saved cells and forgets the snapshot.",
     [](DeviceWordContext& c, Engine& e, Frame&) {
       for (auto& cell : e.cells()) cell.clear();
       for (auto& cell : e.saved_cells()) cell.clear();
       c.stores.snapshot = false;
     }},
    {"COPYDATA", "--", "Copies cells 0..128 into the saved cells (the snapshot).",
     [](DeviceWordContext& c, Engine& e, Frame&) {
       for (int k = 0; k < Engine::kSavedCells; ++k) e.saved_cells()[k] = e.cells()[k];
       c.stores.snapshot = true;
     }},
    {"CMPDATA", "-- flag", "255 when any of cells 0..128 differs from the snapshot, else 0.",
     [](DeviceWordContext& c, Engine& e, Frame&) {
       bool differs = false;
       if (c.stores.snapshot) {
         for (int k = 0; k < Engine::kSavedCells && !differs; ++k) {
           differs = e.saved_cells()[k] != e.cells()[k];
         }
       }
       e.Push(engine::Truth(differs));
     }},
    {"STATUS", "text --", "Shows text in the status bar.",
     [](DeviceWordContext&, Engine& e, Frame&) { e.ShowStatus(e.Pop()); }},
    {"READEV", "m i s -- text", "Slot s of item i of module m of the response store.",
     [](DeviceWordContext& c, Engine& e, Frame&) {
       int32_t slot = e.PopNumber();
       int32_t item = e.PopNumber();
       int32_t module = e.PopNumber();
       const std::string* text = c.stores.Response(module, item, slot);
       e.Push(text ? *text : std::string());
     }},
    {"READSCR", "m a f --",
     "Starts reading the device's script at device address a over link m (f not empty: block "
     "mode).",
     [](DeviceWordContext& c, Engine& e, Frame&) { StartScript(e, c.stores, c.links, false); }},
    {"WRITESCR", "m a f --", "Starts writing the script text (SSCRIPT) to the device.",
     [](DeviceWordContext& c, Engine& e, Frame&) { StartScript(e, c.stores, c.links, true); }},
    {"SCRMAX", "f -- n",
     "The longest script WRITESCR with flag f can write at the start address read last; empty "
     "while none has been read.",
     [](DeviceWordContext& c, Engine& e, Frame&) {
       const bool block = !e.Pop().empty();
       const int32_t start = c.stores.transfer.start_address;
       e.Push(start > 0 ? engine::NumberToText(LongestScript(start, block)) : std::string());
     }},
    {"RSCRIPT", "-- text", "The script text read from or to be written to the device.",
     [](DeviceWordContext& c, Engine& e, Frame&) { e.Push(c.stores.transfer.script_text); }},
    {"SSCRIPT", "text --", "Sets the script text that WRITESCR writes.",
     [](DeviceWordContext& c, Engine& e, Frame&) { c.stores.transfer.script_text = e.Pop(); }},
    {"READTEL", "m a n --", "Starts reading phone record n at device address a over link m.",
     [](DeviceWordContext& c, Engine& e, Frame&) {
       int32_t number = e.PopNumber();
       int32_t a = e.PopNumber();
       int32_t module = e.PopNumber();
       if (!DeviceStores::IsLink(module)) return;
       PhoneRead& phone = c.stores.phone;
       phone.record_number = number;
       phone.module = module;
       phone.address = a;
       phone.status = 0;
       phone.digits.clear();
       QueueOnLinkSlot(e, c.links, module, ReadPhoneRecord(LowByte(a), number));
     }},
    {"WRITETEL", "m a p q digits --",
     "Writes the digits and status q as phone record p at device address a over link m.",
     [](DeviceWordContext& c, Engine& e, Frame&) {
       std::string digits = e.Pop();
       int32_t status = e.PopNumber();
       int32_t position = e.PopNumber();
       int32_t a = e.PopNumber();
       int32_t module = e.PopNumber();
       QueueOnLinkSlot(e, c.links, module, WritePhoneRecord(LowByte(a), position, status, digits));
     }},
    {"RTEL", "-- digits status", "The phone record read last: its digits, then its status.",
     [](DeviceWordContext& c, Engine& e, Frame&) {
       e.Push(c.stores.phone.digits);
       e.Push(engine::NumberToText(c.stores.phone.status));
     }},
    {"CLEARSET", "m i --", "Empties the slots of item i of module m of the response store.",
     [](DeviceWordContext& c, Engine& e, Frame&) {
       int32_t item = e.PopNumber();
       int32_t module = e.PopNumber();
       c.stores.ClearItem(module, item);
     }},
    {"WRFAILS", "-- n",
     "Data bytes the device still refused to write after their repeat, since the last WRFAILS; "
     "reading starts the count afresh.",
     [](DeviceWordContext& c, Engine& e, Frame&) {
       e.Push(engine::NumberToText(c.stores.failed_write_bytes));
       c.stores.failed_write_bytes = 0;
     }},
    {"WAITSEND", "n --",
     "n not 0: the link pauses 110 ms before each record of the next SENDCK's queue.",
     [](DeviceWordContext& c, Engine& e, Frame&) { c.stores.pending_pacing = e.PopNumber() != 0; }},
};

const engine::WordList<DeviceWordContext> kDeviceWords{"Device", kDeviceRows};

void RegisterDeviceWords(Engine& engine, DeviceStores& stores, LinkTable& links) {
  engine::AddWords(engine, kDeviceWords, DeviceWordContext{stores, links});
}

}  // namespace device
