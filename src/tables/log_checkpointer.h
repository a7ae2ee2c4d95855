// Copies the write-ahead log of a SQLite file back into the file on a thread
// of its own. The window's connection then never checkpoints itself: its
// commits only append to the log and never wait for the disk.
#pragma once

#include <QString>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace tables {

class LogCheckpointer {
 public:
  // At most one checkpoint in this long, however often the file is written.
  static constexpr int kPauseMs = 1000;

  explicit LogCheckpointer(QString path) : path_(std::move(path)) {}
  ~LogCheckpointer();
  LogCheckpointer(const LogCheckpointer&) = delete;
  LogCheckpointer& operator=(const LogCheckpointer&) = delete;

  // Something was written: a checkpoint follows soon.
  void Written();
  // Ends the thread once its checkpoint, if any, is done.
  void Stop();
  int checkpoints() const;

 private:
  void Loop();
  void Checkpoint();

  const QString path_;
  mutable std::mutex mutex_;
  std::condition_variable wake_;
  bool written_ = false;
  bool stop_ = false;
  int checkpoints_ = 0;
  std::thread thread_;
};

}  // namespace tables
