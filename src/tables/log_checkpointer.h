// Copies the write-ahead log of a SQLite file back into the file on a thread
// of its own, so that the window's commits only append to the log and do not
// wait for the disk.
//
// The log is kept small: past kRestartBytes this copy runs at once and the
// window's connection checkpoints what is left itself, which restarts the log
// (its file is then cut back); once writing pauses the log is emptied.
#pragma once

#include <QString>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

namespace tables {

class LogCheckpointer {
 public:
  // While the log is small, at most one checkpoint in this long; a pause this
  // long with no write empties the log.
  static constexpr int kPauseMs = 1000;
  static constexpr qint64 kRestartBytes = qint64{16} << 20;
  static constexpr int kLookMs = 50;

  // `readers_hold_log` is called (on this thread) when open results keep a
  // log past kRestartBytes, or one left after writing paused, from going back.
  explicit LogCheckpointer(QString path, std::function<void()> readers_hold_log = {})
      : path_(std::move(path)), readers_hold_log_(std::move(readers_hold_log)) {}
  ~LogCheckpointer();
  LogCheckpointer(const LogCheckpointer&) = delete;
  LogCheckpointer& operator=(const LogCheckpointer&) = delete;

  // Something was written: a checkpoint follows soon.
  void Written();
  // Ends the thread once its checkpoint, if any, is done.
  void Stop();
  int checkpoints() const;

 private:
  enum class Mode { kPassive, kTruncate };

  void Loop();
  // One checkpoint while the window writes.
  void WhileWriting();
  // True when every frame of the log went back into the file.
  bool Checkpoint(Mode mode);
  qint64 LogSize() const;

  const QString path_;
  const std::function<void()> readers_hold_log_;
  mutable std::mutex mutex_;
  std::condition_variable wake_;
  bool written_ = false;
  bool stop_ = false;
  int checkpoints_ = 0;
  std::thread thread_;
};

}  // namespace tables
