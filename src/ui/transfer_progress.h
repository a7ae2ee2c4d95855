// The status bar's transfer progress. An operation lasts while records wait in
// the send queue of the link in slot 1 or a device wait is armed; while more
// than one record of a batch waits, a bar shows the records sent since the
// operation began of those sent and queued, so the counts never go back when
// its next part is queued. While records go one at a time or a few ahead of
// the answers, or only the wait runs, the bar shows that something is going
// on. A page that states its plan (PROGRESSPART) gets one bar in percent over
// all its parts instead. Beside it, "Отменить" (and Esc) gives up the device
// wait. PROGRESS sets the caption.
#pragma once

#include <QObject>
#include <QString>
#include <QTimer>
#include <cstdint>
#include <string_view>

#include "page_surface.h"

class QLabel;
class QProgressBar;
class QPushButton;
class QShortcut;
class QStatusBar;

namespace zlink {
class LinkRegistry;
}

namespace engine {
class Engine;
}

namespace device {
class DeviceWait;
}

namespace ui {

using device::DeviceWait;

// How many records TakeRecord would take from this queue, one after another.
int CountQueuedRecords(std::string_view queue);

class TransferProgress : public QObject, public TransferCaption {
 public:
  static constexpr char kDefaultCaption[] = "Обмен с устройством";
  static constexpr int kSampleMs = 100;

  static constexpr char kCancelCaption[] = "Отменить";
  // The most records a script read keeps queued ahead of the answers.
  static constexpr int kPipelineDepth = 3;

  // `links`: whose slot 1 is watched. "Отменить" and Esc give up an armed
  // `wait` unless a line runs (a dialog of the pages finishes first).
  TransferProgress(QStatusBar& status_bar, DeviceWait& wait, const zlink::LinkRegistry& links,
                   const engine::Engine& engine, QObject* parent = nullptr);

  // The empty text restores the default caption.
  void SetCaption(const QString& caption);
  QString Caption() const;
  void ShowCaption(const std::string& text) override;
  void ShowPart(int32_t part, int32_t parts) override;

  // Records wait in the queue of the link in slot 1, or a device wait is
  // armed.
  bool Running() const;

  QProgressBar* Bar() const { return bar_; }
  QPushButton* CancelButton() const { return cancel_; }
  // Sampled every kSampleMs; public for tests.
  void Sample();

 private:
  void Cancel();
  void ShowCounts(int sent, int queued);
  void ShowPlan(int sent);

  DeviceWait& wait_;
  const zlink::LinkRegistry& links_;
  const engine::Engine& engine_;
  QLabel* caption_;
  QProgressBar* bar_;
  QPushButton* cancel_;
  QShortcut* escape_;
  QTimer timer_;
  bool running_ = false;
  uint64_t sent_before_ = 0;  // the link's records sent when the operation began
  int total_ = 0;
  bool counting_ = false;  // the records last queued came as a batch
  // The plan the page stated; its bar never goes back while the plan lasts.
  int32_t part_ = 0;
  int32_t parts_ = 0;
  int shown_ = 0;
};

}  // namespace ui
