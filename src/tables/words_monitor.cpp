// ADDEV FILTR CONCLEAR READVCK: the traffic views and two device stores.
#include <QLabel>
#include <QPlainTextEdit>

#include "device_stores.h"
#include "engine.h"
#include "tables.h"

namespace tables {

// "Фильтр: Все", "Фильтр: СК-3", "Фильтр: СК-3 Адр.-12 Ном.-9".
QString FilterCaption(int32_t k, int32_t m, int32_t n) {
  QString caption = QStringLiteral("Фильтр: ");
  if (k == 0) return caption + QStringLiteral("Все");
  caption += QStringLiteral("СК-") + QString::number(k);
  if (m != 0) {
    caption += QStringLiteral(" Адр.-") + QString::number(m);
    if (n != 0) caption += QStringLiteral(" Ном.-") + QString::number(n);
  }
  return caption;
}

void RegisterMonitorWords(engine::Engine& engine, Tables& tables) {
  engine::WordGroup group(engine, "Monitor");
  Tables* t = &tables;
  engine.Document("ADDEV", "text --", "Adds text with the time to the event memo.");
  engine.Register("ADDEV", [](engine::Engine& e, engine::Frame&) { e.LogEvent(e.Pop()); });
  // FILTR empties the traffic memos; FILTRCAP, this program's addition, only
  // sets the caption, so that the traffic already shown stays.
  auto caption = [t](engine::Engine& e, bool clear_memos) {
    const int32_t k = e.PopNumber();
    const int32_t m = e.PopNumber();
    const int32_t n = e.PopNumber();
    const TablesWindow& w = t->window();
    if (w.label_filtr) {
      w.label_filtr->setText(FilterCaption(k, m, n));
      w.label_filtr->adjustSize();  // the caption sizes the label, as the others do
    }
    if (!clear_memos) return;
    if (w.memo_terminal) w.memo_terminal->clear();
    if (w.memo_terminal_out) w.memo_terminal_out->clear();
  };
  engine.Document("FILTR", "n m k --",
                  "Sets the monitor filter caption and empties the traffic memos.");
  engine.Register("FILTR", [caption](engine::Engine& e, engine::Frame&) { caption(e, true); });
  engine.Document("FILTRCAP", "n m k --",
                  "Sets the monitor filter caption as FILTR does; the traffic memos keep their lines.");
  engine.Register("FILTRCAP", [caption](engine::Engine& e, engine::Frame&) { caption(e, false); });
  engine.Document("CONCLEAR", "m --", "Clears the connection flags of row m.");
  engine.Register("CONCLEAR", [t](engine::Engine& e, engine::Frame&) {
    const int32_t row = e.PopNumber();
    device::DeviceStores* d = t->window().device;
    if (d) d->ClearConnectionRow(row);  // rows outside 1..32 are left alone
  });
  engine.Document("READVCK", "i j -- n",
                  "Link number (j = 1) or address (j = 2) of channel pair entry i.");
  engine.Register("READVCK", [t](engine::Engine& e, engine::Frame&) {
    const int32_t j = e.PopNumber();
    const int32_t i = e.PopNumber();
    device::DeviceStores* d = t->window().device;
    const device::ChannelPair* pair = d ? d->Pair(i) : nullptr;
    if (!pair || (j != 1 && j != 2)) throw engine::Fault{};
    e.Push(engine::NumberToText(j == 1 ? pair->link : pair->address));
  });
}

}  // namespace tables
