// RSThread: one link to the device over one serial port. It answers every
// frame the device sends, hands data records to OnRecord, sends the records
// queued in SendQueue in answer to polls, logs every frame and keeps the
// connection label. All of it runs on the window's thread.
#pragma once

#include <QObject>
#include <QString>
#include <QTimer>
#include <functional>
#include <memory>
#include <string>

#include "CommDrv.h"
#include "link_log.h"
#include "link_protocol.h"
#include "link_texts.h"

namespace zlink {

// What a link needs from the window. Texts are Windows-1251 bytes.
class LinkView {
 public:
  virtual ~LinkView() = default;
  // A finished line for the link memo (MemoDebug).
  virtual void AddLinkMemoLine(const std::string& line) = 0;
  // Every contact, and the link timer running out.
  virtual void ReportState(LinkState state) = 0;
};

// The folder of the link log files, with a trailing separator: the program's
// own folder when it can be written to, else the user's data folder for this
// program. SetLinkLogFolder overrides both (tests, demo runs); an empty text
// returns to the default.
QString LinkLogFolder();
void SetLinkLogFolder(const QString& folder);

class RSThread : public QObject, private LinkProtocolHost {
  Q_OBJECT

 public:
  // (link, link number, record: address byte 02 then the record).
  using RecordHandler = std::function<void(RSThread& link, int number, const std::string& record)>;

  static constexpr int kLinkTimeoutMs = 5000;
  static constexpr int kPacingMs = 110;

  // Creates a link on the port and opens it. The link is returned even when
  // the port failed to open; that is only logged.
  static RSThread* StartLink(const QString& port_name, LinkView* view);
  // Closes the port and releases the link once no call of the link is on the
  // stack any more. The caller forgets every reference it holds; the registry
  // hears of it through LinkStopped.
  static void StopLink(RSThread* link);

  // Fields other parts use.
  std::string& SendQueue() { return protocol_.SendQueue(); }
  const std::string& SendQueue() const { return protocol_.SendQueue(); }
  bool Answered() const { return protocol_.Answered(); }
  bool Pacing() const { return protocol_.Pacing(); }
  void SetPacing(bool on) { protocol_.SetPacing(on); }
  std::string& LastCommand() { return protocol_.LastCommand(); }
  uint64_t RecordsSent() const { return protocol_.RecordsSent(); }
  const std::string& LastSent() const { return protocol_.LastSent(); }
  int32_t Refused(bool may_repeat) { return protocol_.Refused(may_repeat); }
  uint64_t RecordsGivenUp() const { return protocol_.RecordsGivenUp(); }
  // Records still queued, or a write session opened and not yet closed:
  // closing the program now would leave the device's memory half written.
  bool WriteUnfinished() const {
    return !stopped_ && (!protocol_.SendQueue().empty() || protocol_.WriteSessionOpen());
  }
  bool WriteSessionOpen() const { return protocol_.WriteSessionOpen(); }
  RecordHandler OnRecord;

  const QString& PortName() const { return port_name_; }
  // Absent once the link is stopped.
  TCommPortDriver* Driver() { return stopped_ ? nullptr : driver_.get(); }
  bool Stopped() const { return stopped_; }

  // A link log line: the day's file, then ShowLine. When lines begin to be
  // lost, kLogLost goes to the memo once.
  void Log(const std::string& text);
  // Marks the link connected for 5 s when the line counts as contact, then
  // shows it in the link memo.
  void ShowLine(const std::string& text);

 signals:
  // The link has stopped: whoever holds it forgets it now.
  void LinkStopped(zlink::RSThread* link);

 private:
  void MarkDisconnected();
  void ReportContact();
  void PortClosed();
  explicit RSThread(QObject* parent = nullptr);
  ~RSThread() override;

  void OpenPort(const QString& port_name);
  void OnBytes(TCommPortDriver* driver, const char* data, int32_t size);
  void Stop();
  void ReleaseWhenIdle();

  // LinkProtocolHost
  void LogLink(const std::string& line) override { Log(line); }
  void WriteWire(const std::string& bytes) override;
  void DeliverRecord(const std::string& record) override;
  void BeginPacing() override;

  // Counts the link's calls on the stack, so that a link stopped from inside
  // one of them is released only after they have all returned.
  class CallScope {
   public:
    explicit CallScope(RSThread& link) : link_(link) { ++link_.depth_; }
    ~CallScope();
   private:
    RSThread& link_;
  };

  LinkProtocol protocol_{*this};
  std::unique_ptr<TCommPortDriver> driver_;
  QTimer* link_timer_ = nullptr;  // a child of the link
  QTimer pacing_timer_;
  QString program_dir_;
  std::string log_folder_;  // program_dir_ in UTF-8
  LinkLog log_;
  QString port_name_;
  QString speed_text_;
  LinkView* view_ = nullptr;
  int depth_ = 0;
  bool stopped_ = false;
  bool release_pending_ = false;
  bool contact_pending_ = false;  // contact seen inside a call, told at its end
};

}  // namespace zlink
