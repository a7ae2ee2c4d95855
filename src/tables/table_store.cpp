#include "table_store.h"

#include <QDataStream>
#include <QDir>
#include <QSaveFile>
#include <QFileInfo>
#include <QSqlQuery>
#include <atomic>

#include "cp1251.h"
#include "log_checkpointer.h"

namespace tables {

namespace {
std::atomic<int> next_connection{0};

// SQLite's primary result codes.
enum SqliteCode {
  kPerm = 3, kBusy = 5, kLocked = 6, kReadOnly = 8, kIoErr = 10, kCorrupt = 11,
  kFull = 13, kCantOpen = 14, kNotADb = 26
};

}  // namespace

TableStore::TableStore(QString path)
    : path_(std::move(path)),
      connection_(QStringLiteral("zelt-tables-%1").arg(next_connection++)) {
  retry_.setInterval(kRetryMs);
  QObject::connect(&retry_, &QTimer::timeout, [this] { RunKept(); });
}

TableStore::~TableStore() {
  Flush();
  retry_.stop();
  checkpointer_.reset();
  if (QSqlDatabase::contains(connection_)) {
    QSqlDatabase::database(connection_, false).close();
    QSqlDatabase::removeDatabase(connection_);
  }
}

QSqlDatabase TableStore::Database() {
  if (!QSqlDatabase::contains(connection_)) {
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection_);
    db.setDatabaseName(QFileInfo(path_).absoluteFilePath());
    // Another program holding the file may cost a statement this long, no more:
    // the window and the device's polls wait meanwhile.
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(kBusyTimeoutMs));
  }
  QSqlDatabase db = QSqlDatabase::database(connection_, false);
  if (!db.isOpen() && db.open()) {
    // A write-ahead log commits without waiting for the disk (a journal row
    // cost milliseconds of the window's time each); a crash of the program
    // loses nothing committed. Left as it is where the file cannot take it.
    // The log goes back into the file on a thread of its own.
    QSqlQuery pragma(db);
    const bool log = pragma.exec(QStringLiteral("PRAGMA journal_mode=WAL")) && pragma.next() &&
                     pragma.value(0).toString() == QStringLiteral("wal");
    pragma.exec(QStringLiteral("PRAGMA synchronous=NORMAL"));
    pragma.exec(QStringLiteral("PRAGMA journal_size_limit=%1").arg(kLogKeepBytes));
    if (log && pragma.exec(QStringLiteral("PRAGMA wal_autocheckpoint=%1")
                               .arg(LogCheckpointer::kRestartBytes / 4096))) {
      // Open results hold the log: they are read to their end at the next
      // write, or at the next turn of the event loop when nothing is written.
      checkpointer_ = std::make_unique<LogCheckpointer>(db.databaseName(), [this] {
        results_hold_log_ = true;
        QMetaObject::invokeMethod(&retry_, [this] { LetLogGo(); }, Qt::QueuedConnection);
      });
    }
  }
  return db;
}

TableStore::Failure TableStore::Classify(const QSqlError& error) {
  if (error.type() == QSqlError::NoError) return Failure::kNone;
  bool number = false;
  const int code = error.nativeErrorCode().toInt(&number) & 0xFF;
  if (!number) return error.type() == QSqlError::ConnectionError ? Failure::kCannotOpen
                                                                 : Failure::kStatement;
  switch (code) {
    case kBusy:
    case kLocked:
      return Failure::kLocked;
    case kReadOnly:
    case kPerm:
      return Failure::kReadOnly;
    case kCorrupt:
    case kNotADb:
      return Failure::kCorrupt;
    case kCantOpen:
      return Failure::kCannotOpen;
    case kFull:
      return Failure::kFull;
    case kIoErr:
      return Failure::kIo;
    default:
      return Failure::kStatement;
  }
}

TableStore::FileState TableStore::Snapshot() const {
  const QFileInfo info(QFileInfo(path_).absoluteFilePath());
  if (!info.exists()) return {};
  return {true, info.size(), info.lastModified(), static_cast<int>(info.permissions())};
}

void TableStore::Report(const QString& text) {
  if (report_) report_(engine::ToCp1251(text));
}

TableStore::Failure TableStore::Note(const QSqlError& error) {
  const Failure kind = Classify(error);
  if (kind != Failure::kNone && kind != Failure::kStatement) Say(kind);
  return kind;
}

void TableStore::Say(Failure kind) {
  // A full disk leaves the connection sound: the timer tries again as it is.
  if (kind != Failure::kLocked && kind != Failure::kFull) {
    reopen_ = true;
    failed_file_ = Snapshot();
  }
  // A broken file is let go at the next turn of the event loop (not inside the
  // statement that found it), so that it can be moved away even where an open
  // file cannot be.
  if (kind == Failure::kCorrupt) {
    QTimer::singleShot(0, &retry_, [this] {
      if (reopen_) CloseConnection();
    });
  }
  const QString name = QFileInfo(path_).fileName();
  const QString waiting = QStringLiteral(": записи, которые не удалось сохранить, ждут в памяти");
  switch (kind) {
    case Failure::kLocked:
      trouble_ = name + QStringLiteral(" занята другой программой") + waiting;
      break;
    case Failure::kReadOnly:
      trouble_ = name + QStringLiteral(" только для чтения") + waiting;
      break;
    case Failure::kCorrupt:
      trouble_ = name + QStringLiteral(" повреждена") + waiting;
      break;
    case Failure::kFull:
      trouble_ = QStringLiteral("Нет места на диске для ") + name + waiting;
      break;
    case Failure::kIo:
      trouble_ = QStringLiteral("Ошибка чтения или записи ") + name + waiting;
      break;
    default:
      trouble_ = name + QStringLiteral(" не открывается") + waiting;
      break;
  }
  if (reported_.insert(kind).second) Report(trouble_);
}

void TableStore::Worked() {
  if (kept_.empty()) trouble_.clear();
}

void TableStore::Written() {
  if (!checkpointer_) return;
  checkpointer_->Written();
  LetLogGo();
}

void TableStore::LetLogGo() {
  if (results_hold_log_.exchange(false) && read_to_end_ && read_to_end_() && checkpointer_)
    checkpointer_->Written();
}

int TableStore::checkpoints() const { return checkpointer_ ? checkpointer_->checkpoints() : 0; }

void TableStore::CloseConnection() {
  if (before_reopen_) before_reopen_();
  checkpointer_.reset();
  if (QSqlDatabase::contains(connection_)) QSqlDatabase::database(connection_, false).close();
}

TableStore::Failure TableStore::Run(const QString& statement) {
  QSqlDatabase db = Database();
  if (!db.isOpen()) {
    Failure kind = Classify(db.lastError());
    if (kind == Failure::kNone || kind == Failure::kStatement) kind = Failure::kCannotOpen;
    Say(kind);
    return kind;
  }
  QSqlQuery query(db);
  if (query.exec(statement)) {
    Written();
    return Failure::kNone;
  }
  const Failure kind = Note(query.lastError());
  return kind == Failure::kNone ? Failure::kStatement : kind;
}

bool TableStore::Execute(const QString& statement) {
  if (RunKept()) {
    const Failure kind = Run(statement);
    if (kind == Failure::kNone) {
      Worked();
      return true;
    }
    if (kind == Failure::kStatement) return false;
  }
  kept_.push_back(statement);
  if (!retry_.isActive()) retry_.start();
  return true;
}

bool TableStore::RunKept() {
  if (!held_taken_) {
    held_taken_ = true;
    TakeHeld();
  }
  if (kept_.empty()) return true;
  if (reopen_) {
    // A spoilt connection is opened afresh once the file has changed (replaced,
    // repaired, made writable); until then trying again only fails again.
    if (Snapshot() == failed_file_) return false;
    CloseConnection();
    reopen_ = false;
  }
  size_t stored = 0;
  while (!kept_.empty()) {
    const Failure kind = Run(kept_.front());
    if (kind != Failure::kNone && kind != Failure::kStatement) return false;
    // One the store now refuses as a statement would never go in: dropped.
    kept_.pop_front();
    if (kind == Failure::kNone) ++stored;
  }
  retry_.stop();
  reported_.clear();
  trouble_.clear();
  Report(QFileInfo(path_).fileName() +
         QStringLiteral(": сохранены записи, ждавшие в памяти: %1").arg(stored));
  return true;
}

void TableStore::TakeHeld() {
  QFile file(HeldPath());
  if (!file.open(QIODevice::ReadOnly)) return;
  QDataStream in(&file);
  QStringList held;
  in >> held;
  if (in.status() != QDataStream::Ok) return;
  file.close();
  kept_.insert(kept_.begin(), held.begin(), held.end());
  file.remove();
}

void TableStore::Flush() {
  if (kept_.empty() || RunKept()) return;
  const QString name = QFileInfo(path_).fileName();
  const QString held = QFileInfo(HeldPath()).fileName();
  QString text = name + QStringLiteral(": не сохранено записей: %1; ").arg(kept_.size());
  QSaveFile file(HeldPath());
  bool saved = false;
  if (file.open(QIODevice::WriteOnly)) {
    QDataStream out(&file);
    out << QStringList(kept_.begin(), kept_.end());
    saved = out.status() == QDataStream::Ok && file.commit();
  }
  text += saved ? QStringLiteral("они оставлены в файле %1 и будут сохранены при следующем запуске")
                      .arg(held)
                : QStringLiteral("записать их в файл %1 не удалось").arg(held);
  kept_.clear();
  retry_.stop();
  // Said on the way out too, where the status bar is no longer seen.
  qWarning("%s", qUtf8Printable(text));
  Report(text);
}

}  // namespace tables
