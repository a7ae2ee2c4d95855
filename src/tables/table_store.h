// The SQL table store: one SQLite file that the scripts' statements address by
// table name. It is opened the first time a statement needs it and created if
// missing, so the tables a script made are there at the next start.
//
// Tables.db may be locked by another program, read-only or corrupt. Statements
// without result that it cannot take then wait in memory, in order, and run
// when it can take them again (before the next statement, and every few
// seconds; at exit they are kept in a file for the next start); the status
// bar says once per kind of failure what is wrong. A lock
// never holds the window for more than kBusyTimeoutMs.
#pragma once

#include <QDateTime>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QString>
#include <QTimer>
#include <atomic>
#include <deque>
#include <functional>
#include <memory>
#include <set>
#include <string>

namespace tables {

class LogCheckpointer;

class TableStore {
 public:
  static constexpr int kBusyTimeoutMs = 50;
  static constexpr int kRetryMs = 2000;

  // What a failed statement says about the store. kStatement: the store is
  // fine and the statement itself was refused (no such table, bad SQL).
  enum class Failure { kNone, kStatement, kLocked, kReadOnly, kCorrupt, kCannotOpen, kFull, kIo };

  // A relative path is taken against the working directory at first use.
  explicit TableStore(QString path = QStringLiteral("Tables.db"));
  ~TableStore();
  TableStore(const TableStore&) = delete;
  TableStore& operator=(const TableStore&) = delete;

  // The open database; not open when the file cannot be opened or created.
  QSqlDatabase Database();
  const QString& path() const { return path_; }

  // Where the status bar texts (Windows-1251) go.
  void SetReporter(std::function<void(const std::string&)> report) { report_ = std::move(report); }
  // Called before the store reopens its file, so that results on the old
  // connection can be closed first.
  void SetBeforeReopen(std::function<void()> close_results) {
    before_reopen_ = std::move(close_results);
  }
  // Called when open results keep the write-ahead log from being emptied:
  // reading them to their end lets it go. True when any result was read on.
  void SetReadResultsToEnd(std::function<bool()> read_to_end) {
    read_to_end_ = std::move(read_to_end);
  }
  // What the log's file is cut back to each time it starts afresh.
  static constexpr qint64 kLogKeepBytes = qint64{4} << 20;

  // Runs a statement without result. One the store cannot take now is kept
  // and runs later; false only when the statement itself was refused.
  bool Execute(const QString& statement);
  // Runs the kept statements in order until the store refuses one; true when
  // none is left.
  bool RunKept();
  size_t kept() const { return kept_.size(); }
  // At exit: the kept statements are tried once more, and what still cannot
  // go in is written beside the file (HeldPath()), which the next start
  // stores first. Says what became of them.
  void Flush();
  QString HeldPath() const { return QFileInfo(path_).absoluteFilePath() + QStringLiteral("-held"); }

  // A statement went in: its rows go from the write-ahead log into the file
  // soon, off the window's thread.
  void Written();
  // How many times they have so far, on the connection open now.
  int checkpoints() const;

  // Classifies a failed statement's error, says so once per kind, and marks
  // the file for reopening where the connection itself is spoilt.
  Failure Note(const QSqlError& error);
  static Failure Classify(const QSqlError& error);
  // A statement went through: once none waits, the store is sound again.
  void Worked();
  // What keeps the file from taking statements, as the status bar said it;
  // empty while it takes them.
  const QString& trouble() const { return trouble_; }

 private:
  struct FileState {
    bool exists = false;
    qint64 size = 0;
    QDateTime modified;
    int permissions = 0;
    bool operator==(const FileState&) const = default;
  };
  FileState Snapshot() const;
  Failure Run(const QString& statement);
  // Says once per kind what is wrong; marks a spoilt connection for reopening.
  void Say(Failure kind);
  void Report(const QString& text);
  // Closes the results on the connection and the connection itself.
  void CloseConnection();
  // Takes the statements a previous run left in HeldPath() into the kept ones.
  void TakeHeld();
  // Reads open results to their end when the log checkpoints found them
  // holding it.
  void LetLogGo();

  QString path_;
  QString connection_;
  std::deque<QString> kept_;
  std::set<Failure> reported_;
  QString trouble_;
  bool held_taken_ = false;    // a previous run's held statements are kept
  bool reopen_ = false;         // the connection must be opened afresh
  FileState failed_file_;       // the file as it was when that was found
  QTimer retry_;
  std::function<void(const std::string&)> report_;
  std::function<void()> before_reopen_;
  std::function<bool()> read_to_end_;
  std::atomic<bool> results_hold_log_{false};
  std::unique_ptr<LogCheckpointer> checkpointer_;
};

}  // namespace tables
