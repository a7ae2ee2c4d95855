// The status bar's transfer progress: while records wait in the send queue of
// the link in slot 1, a bar shows the records sent of those queued since the
// queue was last empty; while only the device wait runs, or a single record
// goes, it shows that something is going on. PROGRESS sets its caption.
#pragma once

#include <QObject>
#include <QString>
#include <QTimer>
#include <string_view>

class QLabel;
class QProgressBar;
class QStatusBar;

namespace zlink {
class RSThread;
}

namespace engine {
class Engine;
}

namespace ui {

class DeviceWait;

// How many records TakeRecord would take from this queue, one after another.
int CountQueuedRecords(std::string_view queue);

class TransferProgress : public QObject {
 public:
  static constexpr char kDefaultCaption[] = "Обмен с устройством";
  static constexpr int kSampleMs = 100;

  TransferProgress(QStatusBar* status_bar, const DeviceWait& wait, QObject* parent = nullptr);

  // The empty text restores the default caption.
  void SetCaption(const QString& caption);
  QString Caption() const;

  // Records wait in the queue of the link in slot 1, or a device wait is
  // armed.
  bool Running() const;

  QProgressBar* Bar() const { return bar_; }
  // Sampled every kSampleMs; public for tests.
  void Sample();

 private:
  const DeviceWait& wait_;
  QLabel* caption_;
  QProgressBar* bar_;
  QTimer timer_;
  int batch_sent_ = 0;
  int batch_total_ = 0;
};

// PROGRESS ( caption -- ).
void RegisterProgressWords(engine::Engine& engine, TransferProgress& progress);

}  // namespace ui
