// The program's side of the frame protocol, without any port or window: it
// assembles frames from the bytes that arrive, checks them, answers polls with
// queued records and acknowledges data frames. RSThread puts it on a port; the
// tests and the fuzzer drive it directly.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "frame.h"
#include "write_session.h"

namespace zlink {

// What the protocol needs from its owner. Each call may re-enter Feed (a
// record handler that runs a modal dialog lets more bytes arrive); the
// protocol keeps the byte order across such calls.
class LinkProtocolHost {
 public:
  virtual ~LinkProtocolHost() = default;
  // One link log line: the day's log file, then the link memo and label.
  virtual void LogLink(const std::string& line) = 0;
  // Bytes for the wire, a whole frame with its CR LF.
  virtual void WriteWire(const std::string& bytes) = 0;
  // A data record: the address byte 02, then the record (length byte first).
  virtual void DeliverRecord(const std::string& record) = 0;
  // A reply carrying a queued record waits 110 ms while pacing is on. The host
  // calls FinishPacing() when the time is up; until then incoming bytes wait.
  virtual void BeginPacing() = 0;
};

class LinkProtocol {
 public:
  static constexpr uint8_t kStationAddress = 2;

  explicit LinkProtocol(LinkProtocolHost& host) : host_(host) {}

  // Bytes as they arrive from the port, in order.
  void Feed(std::string_view bytes);
  // Sends the reply held back for pacing and goes on with waiting bytes.
  void FinishPacing();
  // No more input is handled and no more calls reach the host.
  void Stop();

  bool waiting_for_pacing() const { return pacing_reply_pending_; }
  bool stopped() const { return stopped_; }
  bool in_frame() const { return assembler_.in_frame(); }

  // Spaced hex records waiting for the device's polls.
  std::string& SendQueue() { return send_queue_; }
  const std::string& SendQueue() const { return send_queue_; }
  bool Answered() const { return answered_; }
  bool Pacing() const { return pacing_; }
  void SetPacing(bool on) { pacing_ = on; }
  std::string& LastCommand() { return last_command_; }
  const std::string& LastReply() const { return last_reply_; }
  // Records taken from SendQueue and sent since the link began, and since the
  // queue was last found empty (0 while the records queued since then wait).
  uint64_t RecordsSent() const { return records_sent_; }
  int RecordsSentSinceEmpty() const { return queue_emptied_ ? 0 : batch_sent_; }

  // The record that the reply to the last new poll carried (spaced hex; empty
  // when the reply was the empty record): the device answers a record before
  // it polls again, so a refusal belongs to this one.
  const std::string& LastSent() const { return last_sent_; }
  bool LastSentWasRepeat() const { return last_sent_repeat_; }
  // The device refused the record sent last. With `may_repeat`, and unless it
  // was already the repeat, the record goes out again next, ahead of the
  // queue, and 0 is returned; otherwise it has failed for good and the data
  // bytes it did not write are returned. Either way it is no longer the
  // record sent last.
  int32_t Refused(bool may_repeat);
  // Records refused again after their repeat: reads as well as writes.
  uint64_t RecordsGivenUp() const { return given_up_; }
  // Open writing went out and close writing not yet.
  bool WriteSessionOpen() const { return session_.open(); }

  // Turns a reply text ("4300", "43" + "03 02 AD 03 ") into a frame, writes
  // it and logs it.
  void SendReply(const std::string& reply);

 private:
  enum Code { k43, k44, k41, k42, kOther };

  void Process();
  void VerifyAndHandle(const std::string& text);
  void HandleFrame(const std::string& text, const std::string& bytes);
  // Logs the frame being handled, once.
  void LogReceived();
  void HandlePoll(Code code, const std::string& code_text);
  void HandleData(Code code, const std::string& code_text, const std::string& bytes);
  std::string NextQueued();
  void NoteSent(const std::string& record);
  void SetOnlyFlag(Code code);

  LinkProtocolHost& host_;
  FrameAssembler assembler_;
  std::string input_;      // bytes received and not yet handled
  size_t input_pos_ = 0;
  int depth_ = 0;
  bool stopped_ = false;
  bool pacing_reply_pending_ = false;
  std::string paced_reply_;

  std::string send_queue_;
  std::string last_reply_;
  std::string received_line_;  // the frame being handled, not logged yet
  std::string last_command_;
  std::string last_sent_;
  bool last_sent_repeat_ = false;
  uint64_t given_up_ = 0;
  std::string repeat_next_;  // the refused record waiting at the queue's front
  WriteSession session_;
  std::array<bool, 4> repeat_{};  // by Code: 43, 44, 41, 42
  bool answered_ = false;
  bool pacing_ = false;
  uint64_t records_sent_ = 0;
  int batch_sent_ = 0;
  bool queue_emptied_ = true;
};

}  // namespace zlink
