#include "log_checkpointer.h"

#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QUrl>
#include <atomic>
#include <chrono>

namespace tables {

namespace {
std::atomic<int> next_connection{0};
}  // namespace

LogCheckpointer::~LogCheckpointer() { Stop(); }

void LogCheckpointer::Written() {
  {
    std::lock_guard lock(mutex_);
    if (stop_ || written_) return;
    written_ = true;
    if (!thread_.joinable()) thread_ = std::thread([this] { Loop(); });
  }
  wake_.notify_one();
}

void LogCheckpointer::Stop() {
  {
    std::lock_guard lock(mutex_);
    stop_ = true;
  }
  wake_.notify_one();
  if (thread_.joinable()) thread_.join();
}

int LogCheckpointer::checkpoints() const {
  std::lock_guard lock(mutex_);
  return checkpoints_;
}

void LogCheckpointer::Loop() {
  std::unique_lock lock(mutex_);
  for (;;) {
    wake_.wait(lock, [this] { return written_ || stop_; });
    if (stop_) return;
    written_ = false;
    lock.unlock();
    WhileWriting();
    lock.lock();
    // The pause is cut short when the log grows fast.
    for (int paused = 0; paused < kPauseMs; paused += kLookMs) {
      if (wake_.wait_for(lock, std::chrono::milliseconds(kLookMs), [this] { return stop_; }))
        return;
      if (written_ && LogSize() > kRestartBytes) break;
    }
    if (written_) continue;
    // Writing has paused: the log goes back into the file whole and its file
    // is emptied.
    lock.unlock();
    const bool emptied = Checkpoint(Mode::kTruncate);
    if (!emptied && LogSize() > 0 && readers_hold_log_) readers_hold_log_();
    lock.lock();
  }
}

void LogCheckpointer::WhileWriting() {
  // Passive: copies what it can without waiting for the window's connection,
  // which goes on writing meanwhile.
  if (!Checkpoint(Mode::kPassive) && LogSize() > kRestartBytes && readers_hold_log_)
    readers_hold_log_();
}

qint64 LogCheckpointer::LogSize() const { return QFileInfo(path_ + QStringLiteral("-wal")).size(); }

bool LogCheckpointer::Checkpoint(Mode mode) {
  // A connection of this thread's own, held only for the checkpoint, so that
  // the file is free to be moved or replaced the rest of the time.
  const QString name = QStringLiteral("zelt-tables-checkpoint-%1").arg(next_connection++);
  bool whole = false;
  {
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
    // mode=rw: a file that has gone meanwhile is not made afresh here.
    db.setDatabaseName(QUrl::fromLocalFile(path_).toString(QUrl::FullyEncoded) +
                       QStringLiteral("?mode=rw"));
    db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=50"));
    if (db.open()) {
      QSqlQuery query(db);
      // Answers: busy, frames in the log, frames copied into the file.
      if (query.exec(mode == Mode::kPassive ? QStringLiteral("PRAGMA wal_checkpoint(PASSIVE)")
                                            : QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)")) &&
          query.next())
        whole = query.value(0).toInt() == 0 && query.value(1).toInt() == query.value(2).toInt();
      query.finish();
      {
        std::lock_guard lock(mutex_);
        ++checkpoints_;
      }
      db.close();
    }
  }
  QSqlDatabase::removeDatabase(name);
  return whole;
}

}  // namespace tables
