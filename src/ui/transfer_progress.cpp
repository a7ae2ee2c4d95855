#include "transfer_progress.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QShortcut>
#include <QStatusBar>
#include <algorithm>

#include "UHex.h"
#include "cp1251.h"
#include "engine.h"
#include "guarded.h"
#include "link_registry.h"
#include "rs.h"
#include "device_wait.h"

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

TransferProgress::TransferProgress(QStatusBar& status_bar, DeviceWait& wait,
                                   const zlink::LinkRegistry& links, const engine::Engine& engine,
                                   QObject* parent)
    : QObject(parent), wait_(wait), links_(links), engine_(engine) {
  caption_ = new QLabel(&status_bar);
  caption_->setObjectName(QStringLiteral("ProgressCaption"));
  caption_->setTextFormat(Qt::PlainText);
  bar_ = new QProgressBar(&status_bar);
  bar_->setObjectName(QStringLiteral("TransferProgress"));
  bar_->setFixedWidth(180);
  bar_->setMaximumHeight(16);
  cancel_ = new QPushButton(QString::fromUtf8(kCancelCaption), &status_bar);
  cancel_->setObjectName(QStringLiteral("CancelTransfer"));
  cancel_->setToolTip(QStringLiteral("Прервать обмен с устройством (Esc)"));
  cancel_->setFocusPolicy(Qt::NoFocus);
  cancel_->setMaximumHeight(20);
  connect(cancel_, &QPushButton::clicked, this, &TransferProgress::Cancel);
  escape_ = new QShortcut(QKeySequence(Qt::Key_Escape), &status_bar);
  escape_->setContext(Qt::WindowShortcut);
  escape_->setEnabled(false);
  connect(escape_, &QShortcut::activated, this, &TransferProgress::Cancel);
  status_bar.addPermanentWidget(caption_);
  status_bar.addPermanentWidget(bar_);
  status_bar.addPermanentWidget(cancel_);
  caption_->hide();
  bar_->hide();
  cancel_->hide();
  SetCaption({});
  timer_.setInterval(kSampleMs);
  connect(&timer_, &QTimer::timeout, this, [this] { Guarded([this] { Sample(); }); });
  timer_.start();
}

void TransferProgress::SetCaption(const QString& caption) {
  caption_->setText(caption.isEmpty() ? QString::fromUtf8(kDefaultCaption) : caption);
}

QString TransferProgress::Caption() const { return caption_->text(); }

bool TransferProgress::Running() const {
  if (wait_.Armed()) return true;
  const zlink::RSThread* link = links_.InSlot(1);
  return link && !link->Stopped() && !link->SendQueue().empty();
}

namespace {
// A part's share of the bar, in steps.
constexpr int kPartSteps = 100;
}  // namespace

void TransferProgress::Sample() {
  const zlink::RSThread* link = links_.InSlot(1);
  if (link && link->Stopped()) link = nullptr;
  const int queued = link ? CountQueuedRecords(link->SendQueue()) : 0;
  const bool show = queued > 0 || wait_.Armed();
  const uint64_t sent_now = link ? link->RecordsSent() : 0;
  if (running_ && !show) parts_ = 0;  // the operation is over, and so is its plan
  if (show && (!running_ || sent_now < sent_before_)) {
    sent_before_ = sent_now;
    total_ = 0;
    counting_ = false;
  }
  running_ = show;
  const int sent = static_cast<int>(std::min<uint64_t>(sent_now - sent_before_, INT32_MAX / 2));
  // Records queued a few at a time as answers come (a script read, whose end
  // is unknown) would keep the bar all but full: the bar counts only records
  // queued as a batch.
  if (sent + queued > total_) counting_ = queued > kPipelineDepth;
  if (counting_) total_ = std::max(total_, sent + queued);
  if (show && parts_ > 0) {
    ShowPlan(sent);
  } else if (show) {
    ShowCounts(sent, queued);
  }
  caption_->setVisible(show);
  bar_->setVisible(show);
  cancel_->setVisible(show && wait_.Armed());
  escape_->setEnabled(cancel_->isVisible());
}

void TransferProgress::ShowCounts(int sent, int queued) {
  bar_->setFormat(QStringLiteral("%v из %m"));
  // One record at a time (a lone request, an exchange), or none while the
  // answers are awaited: "1 из 1" or a full bar would say nothing true.
  if (queued > 1 && counting_) {
    bar_->setRange(0, total_);
    bar_->setValue(sent);
  } else {
    bar_->setRange(0, 0);
  }
}

// The parts before this one are done; of this one, the share of its batches
// sent, short of its end: the part ends when its page goes on to the next.
void TransferProgress::ShowPlan(int sent) {
  const int done_in_part = counting_ && total_ > 0 ? sent * (kPartSteps - 1) / total_ : 0;
  shown_ = std::max(shown_, (part_ - 1) * kPartSteps + done_in_part);
  bar_->setFormat(QStringLiteral("%p %"));
  bar_->setRange(0, parts_ * kPartSteps);
  bar_->setValue(shown_);
}

void TransferProgress::ShowPart(int32_t part, int32_t parts) {
  if (parts <= 0 || parts > INT32_MAX / kPartSteps) {
    parts_ = 0;
    return;
  }
  if (parts_ == 0) shown_ = 0;
  parts_ = parts;
  part_ = std::clamp(part, 1, parts);
  // The part's own records are counted from here.
  const zlink::RSThread* link = links_.InSlot(1);
  sent_before_ = link && !link->Stopped() ? link->RecordsSent() : 0;
  total_ = 0;
  counting_ = false;
  running_ = true;  // so the first sample keeps these counts
}

void TransferProgress::Cancel() {
  if (!wait_.Armed()) return;
  if (!engine_.LineRunning()) {
    Guarded([this] { wait_.Abandon(DeviceWait::Abandoned::kByOperator); });
  }
  Sample();
}

void TransferProgress::ShowCaption(const std::string& text) {
  SetCaption(engine::FromCp1251(text));
}

}  // namespace ui
