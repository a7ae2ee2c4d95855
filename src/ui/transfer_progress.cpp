#include "transfer_progress.h"

#include <QLabel>
#include <QProgressBar>
#include <QStatusBar>
#include <algorithm>

#include "UHex.h"
#include "engine.h"
#include "link_table.h"
#include "rs.h"
#include "wait_device.h"
#include "window_text.h"

namespace ui {

int CountQueuedRecords(std::string_view queue) {
  // TakeRecord's rule, walked with a position instead of erasing: a record is
  // its length byte's worth of cells from the start of the first line (after
  // at most two blanks), or the whole first line when that is shorter.
  int count = 0;
  size_t at = 0;
  // The end of the line `at` is in, looked up once per line.
  size_t line_end = std::string_view::npos;
  bool line_end_known = false;
  while (at < queue.size()) {
    if (!line_end_known || at > line_end) {
      line_end = queue.find("\r\n", at);
      line_end_known = true;
    }
    const size_t end = line_end == std::string_view::npos ? queue.size() : line_end;
    std::string_view line = queue.substr(at, end - at);
    if (line.size() <= 4) break;
    size_t blanks = 0;
    while (blanks < 2 && blanks < line.size() && line[blanks] == ' ') ++blanks;
    const uint8_t length = uhex::HexPairToByte(line.substr(blanks, 2));
    const size_t cells = (static_cast<size_t>(length) + 1) * 3;
    ++count;
    if (cells < line.size() - blanks) {
      at += blanks + cells;
    } else {
      if (line_end == std::string_view::npos) break;
      at = line_end + 2;
    }
  }
  return count;
}

TransferProgress::TransferProgress(QStatusBar* status_bar, const DeviceWait& wait, QObject* parent)
    : QObject(parent), wait_(wait) {
  caption_ = new QLabel(status_bar);
  caption_->setObjectName(QStringLiteral("ProgressCaption"));
  caption_->setTextFormat(Qt::PlainText);
  bar_ = new QProgressBar(status_bar);
  bar_->setObjectName(QStringLiteral("TransferProgress"));
  bar_->setFixedWidth(180);
  bar_->setMaximumHeight(16);
  bar_->setFormat(QStringLiteral("%v из %m"));
  status_bar->addPermanentWidget(caption_);
  status_bar->addPermanentWidget(bar_);
  caption_->hide();
  bar_->hide();
  SetCaption({});
  timer_.setInterval(kSampleMs);
  connect(&timer_, &QTimer::timeout, this, [this] {
    try {
      Sample();
    } catch (...) {
    }
  });
  timer_.start();
}

void TransferProgress::SetCaption(const QString& caption) {
  caption_->setText(caption.isEmpty() ? QString::fromUtf8(kDefaultCaption) : caption);
}

QString TransferProgress::Caption() const { return caption_->text(); }

bool TransferProgress::Running() const {
  if (wait_.Armed()) return true;
  zlink::RSThread* link = zlink::LinkInSlot(1);
  return link && !link->Stopped() && !link->SendQueue().empty();
}

void TransferProgress::Sample() {
  zlink::RSThread* link = zlink::LinkInSlot(1);
  if (link && link->Stopped()) link = nullptr;
  const int queued = link ? CountQueuedRecords(link->SendQueue()) : 0;
  if (queued > 0) {
    batch_sent_ = link->RecordsSentSinceEmpty();
    batch_total_ = batch_sent_ + queued;
  } else {
    batch_sent_ = batch_total_;  // the queue has gone empty: the batch is through
  }
  const bool show = queued > 0 || wait_.Armed();
  // A lone request counts nothing worth showing ("1 из 1" all along): busy.
  if (show && batch_total_ > 1) {
    bar_->setRange(0, batch_total_);
    bar_->setValue(batch_sent_);
  } else if (show) {
    bar_->setRange(0, 0);  // the device wait alone: busy
  } else {
    batch_sent_ = batch_total_ = 0;
  }
  caption_->setVisible(show);
  bar_->setVisible(show);
}

void RegisterProgressWords(engine::Engine& engine, TransferProgress& progress) {
  engine::WordGroup group(engine, "Window: the page and its controls");
  engine.Document("PROGRESS", "caption --",
                  "Caption beside the status bar's transfer progress bar; empty restores the "
                  "default.");
  engine.Register("PROGRESS", [&progress](engine::Engine& e, engine::Frame&) {
    progress.SetCaption(FromCp1251(e.Pop()));
  });
}

}  // namespace ui
