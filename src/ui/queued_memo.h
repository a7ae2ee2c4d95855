// Lines for a memo that starts empty again past its line cap, laid out
// together once a timer tick: a burst of link traffic costs the window one
// layout instead of one per line, and never runs before a reply is sent.
#pragma once

#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QTimer>

class QPlainTextEdit;

namespace ui {

class QueuedMemo : public QObject {
 public:
  static constexpr int kTickMs = 40;

  QueuedMemo(QPlainTextEdit* memo, int line_cap, QObject* parent = nullptr);

  void Append(const QString& line);
  // The memo as line-by-line appends would have left it.
  void Flush();

 private:
  QPointer<QPlainTextEdit> memo_;
  int line_cap_;
  QStringList pending_;
  QTimer tick_;
};

}  // namespace ui
