#include "log_checkpointer.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QUrl>
#include <atomic>
#include <chrono>

namespace tables {

namespace {
std::atomic<int> next_connection{0};
}

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
    Checkpoint();
    lock.lock();
    ++checkpoints_;
    wake_.wait_for(lock, std::chrono::milliseconds(kPauseMs), [this] { return stop_; });
  }
}

void LogCheckpointer::Checkpoint() {
  // A connection of this thread's own, held only for the checkpoint, so that
  // the file is free to be moved or replaced the rest of the time.
  const QString name = QStringLiteral("zelt-tables-checkpoint-%1").arg(next_connection++);
  {
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
    // mode=rw: a file that has gone meanwhile is not made afresh here.
    db.setDatabaseName(QUrl::fromLocalFile(path_).toString(QUrl::FullyEncoded) +
                       QStringLiteral("?mode=rw"));
    db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=50"));
    if (db.open()) {
      // Passive: copies what it can without waiting for the window's
      // connection, which goes on writing meanwhile.
      QSqlQuery(db).exec(QStringLiteral("PRAGMA wal_checkpoint(PASSIVE)"));
      db.close();
    }
  }
  QSqlDatabase::removeDatabase(name);
}

}  // namespace tables
