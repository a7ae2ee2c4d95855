// ADDEV FILTR CONCLEAR READVCK: the traffic views and two device stores.
#include "device_stores.h"
#include "table_words.h"

namespace tables {

namespace {

using engine::Engine;
using engine::Frame;

// FILTR empties the traffic memos; FILTRCAP, this program's addition, only
// sets the caption, so that the traffic already shown stays.
template <bool clear_traffic>
void Filter(Monitor& monitor, Engine& e, Frame&) {
  const int32_t k = e.PopNumber();
  const int32_t m = e.PopNumber();
  const int32_t n = e.PopNumber();
  monitor.ShowFilter(k, m, n, clear_traffic);
}

}  // namespace

constexpr engine::WordRow<Monitor> kMonitorRows[] = {
    {"ADDEV", "text --", "Adds text with the time to the event memo.",
     [](Monitor&, Engine& e, Frame&) { e.LogEvent(e.Pop()); }},
    {"FILTR", "n m k --", "Sets the monitor filter caption and empties the traffic memos.",
     Filter<true>},
    {"FILTRCAP", "n m k --",
     "Sets the monitor filter caption as FILTR does; the traffic memos keep their lines.",
     Filter<false>},
    {"CONCLEAR", "m --", "Clears the connection flags of row m.",
     [](Monitor& monitor, Engine& e, Frame&) {
       const int32_t row = e.PopNumber();
       device::DeviceStores* d = monitor.device_stores();
       if (d) d->ClearConnectionRow(row);  // rows outside 1..32 are left alone
     }},
    {"READVCK", "i j -- n", "Link number (j = 1) or address (j = 2) of channel pair entry i.",
     [](Monitor& monitor, Engine& e, Frame&) {
       const int32_t j = e.PopNumber();
       const int32_t i = e.PopNumber();
       device::DeviceStores* d = monitor.device_stores();
       const device::ChannelPair* pair = d ? d->Pair(i) : nullptr;
       if (!pair || (j != 1 && j != 2)) throw engine::Fault{};
       e.Push(engine::NumberToText(j == 1 ? pair->link : pair->address));
     }},
};

const engine::WordList<Monitor> kMonitorWords{"Monitor", kMonitorRows};

}  // namespace tables
