#include "queued_memo.h"

#include <QPlainTextEdit>
#include <QTextDocument>

namespace ui {
namespace {

// The paragraphs one appended line makes, as the text cursor splits them.
int Paragraphs(const QString& line) {
  int count = 1;
  for (qsizetype i = 0; i < line.size(); ++i) {
    const QChar c = line.at(i);
    if (c == QLatin1Char('\r') && i + 1 < line.size() && line.at(i + 1) == QLatin1Char('\n'))
      continue;
    if (c == QLatin1Char('\n') || c == QLatin1Char('\r') || c == QChar::ParagraphSeparator)
      ++count;
  }
  return count;
}

}  // namespace

QueuedMemo::QueuedMemo(QPlainTextEdit* memo, int line_cap, QObject* parent)
    : QObject(parent), memo_(memo), line_cap_(line_cap) {
  tick_.setSingleShot(true);
  tick_.setInterval(kTickMs);
  connect(&tick_, &QTimer::timeout, this, &QueuedMemo::Flush);
}

void QueuedMemo::Append(const QString& line) {
  pending_.append(line);
  if (!tick_.isActive()) tick_.start();
}

void QueuedMemo::Flush() {
  tick_.stop();
  if (pending_.isEmpty() || !memo_) {
    pending_.clear();
    return;
  }
  // Each append that takes the memo past its cap empties it: only the lines
  // after the last such append stay.
  QTextDocument* document = memo_->document();
  int lines = document->isEmpty() ? 0 : document->blockCount();
  bool emptied = false;
  qsizetype first_kept = 0;
  for (qsizetype i = 0; i < pending_.size(); ++i) {
    lines += Paragraphs(pending_[i]);
    if (lines > line_cap_) {
      lines = 0;
      emptied = true;
      first_kept = i + 1;
    }
  }
  const QStringList kept = pending_.mid(first_kept);
  pending_.clear();
  if (emptied) memo_->clear();
  if (!kept.isEmpty()) memo_->appendPlainText(kept.join(QLatin1Char('\n')));
}

}  // namespace ui
