#include "link_protocol.h"

#include <utility>

#include "UHex.h"
#include "link_texts.h"

namespace zlink {

void LinkProtocol::Feed(std::string_view bytes) {
  if (stopped_) return;
  input_.append(bytes);
  Process();
}

void LinkProtocol::FinishPacing() {
  if (stopped_ || !pacing_reply_pending_) return;
  pacing_reply_pending_ = false;
  std::string reply;
  reply.swap(paced_reply_);
  ++depth_;
  SendReply(reply);
  --depth_;
  Process();
}

void LinkProtocol::Stop() {
  stopped_ = true;
  pacing_reply_pending_ = false;
  paced_reply_.clear();
  input_.clear();
  input_pos_ = 0;
  assembler_.Reset();
}

// Handles waiting bytes one at a time. A nested call (from inside a host
// callback) carries on from the same position, so no byte is handled twice or
// out of order.
void LinkProtocol::Process() {
  ++depth_;
  while (!stopped_ && !pacing_reply_pending_ && input_pos_ < input_.size()) {
    const char c = input_[input_pos_++];
    if (assembler_.Feed(c)) VerifyAndHandle(assembler_.text());
  }
  --depth_;
  if (depth_ == 0 && !stopped_) {
    input_.erase(0, input_pos_);
    input_pos_ = 0;
  }
}

void LinkProtocol::VerifyAndHandle(const std::string& assembled) {
  const std::string text = assembled;
  const FrameCheck check = VerifyFrame(text);
  switch (check.kind) {
    case FrameCheck::Kind::kShort:
      return;
    case FrameCheck::Kind::kBadSum:
      host_.LogLink(std::string(kBadSum) + uhex::ByteToHex(check.error));
      return;
    case FrameCheck::Kind::kGood:
      HandleFrame(text, check.bytes);
      return;
  }
}

void LinkProtocol::HandleFrame(const std::string& text, const std::string& bytes) {
  // The device waits for the reply: the frame's own log line (a file and a
  // memo line) is written once the reply is on the wire, ahead of the reply's
  // line, so the log reads as it always did.
  received_line_ = "<" + text;
  if (!stopped_ && text.compare(0, 2, "02") == 0) {
    answered_ = true;
    const std::string code_text = text.substr(2, 2);
    if (code_text == "43") {
      HandlePoll(k43, code_text);
    } else if (code_text == "44") {
      HandlePoll(k44, code_text);
    } else if (code_text == "41") {
      HandleData(k41, code_text, bytes);
    } else if (code_text == "42") {
      HandleData(k42, code_text, bytes);
    }
  }
  LogReceived();
}

void LinkProtocol::LogReceived() {
  if (!received_line_.empty()) host_.LogLink(std::exchange(received_line_, {}));
}

void LinkProtocol::SetOnlyFlag(Code code) {
  repeat_.fill(false);
  repeat_[code] = true;
}

void LinkProtocol::HandlePoll(Code code, const std::string& code_text) {
  if (repeat_[code]) {
    SetOnlyFlag(code);
    SendReply(last_reply_);
    return;
  }
  SetOnlyFlag(code);
  const std::string record = NextQueued();
  last_reply_ = code_text + record;
  if (record != "00" && pacing_) {
    // The device sees the reply 110 ms after its poll, as ever; the window
    // goes on meanwhile and later bytes wait their turn.
    pacing_reply_pending_ = true;
    paced_reply_ = last_reply_;
    host_.BeginPacing();
    return;
  }
  SendReply(last_reply_);
}

void LinkProtocol::HandleData(Code code, const std::string& code_text,
                              const std::string& bytes) {
  if (repeat_[code]) {
    SetOnlyFlag(code);
    SendReply(last_reply_);
    return;
  }
  SetOnlyFlag(code);
  last_reply_ = code_text;
  // Acknowledge first: the record's handling may take long (a script, a
  // dialog), and the device must not resend meanwhile.
  SendReply(last_reply_);
  if (stopped_) return;
  if (bytes.size() > 2 && bytes[2] != 0) {
    std::string record(1, static_cast<char>(kStationAddress));
    record.append(bytes, 2, std::string::npos);
    host_.DeliverRecord(record);
  }
}

std::string LinkProtocol::NextQueued() {
  std::string record = uhex::TakeRecord(send_queue_);
  if (!record.empty()) {
    ++records_sent_;
    batch_sent_ = queue_emptied_ ? 1 : batch_sent_ + 1;
  }
  queue_emptied_ = send_queue_.empty();
  if (record.empty()) record = "00";
  if (record == "00") pacing_ = false;
  NoteSent(record);
  return record;
}

void LinkProtocol::NoteSent(const std::string& record) {
  const bool repeat = !repeat_next_.empty() && record == repeat_next_;
  repeat_next_.clear();
  if (record == "00") {
    last_sent_.clear();
    last_sent_repeat_ = false;
    return;
  }
  last_sent_ = record;
  last_sent_repeat_ = repeat;
  session_.Sent(uhex::SpacedHexToBytes(record), repeat);
}

int32_t LinkProtocol::Refused(bool may_repeat) {
  if (last_sent_.empty()) return 0;
  std::string record;
  record.swap(last_sent_);
  if (may_repeat && !last_sent_repeat_) {
    if (record.back() != ' ') record += ' ';
    send_queue_.insert(0, record);
    repeat_next_ = record;
    return 0;
  }
  if (may_repeat) ++given_up_;
  return session_.Failed(uhex::SpacedHexToBytes(record));
}

void LinkProtocol::SendReply(const std::string& reply) {
  if (stopped_) return;
  const std::string line = BuildFrame(kStationAddress, uhex::CompactHexToBytes(reply));
  if (line.empty()) return;
  host_.WriteWire(line + "\r\n");
  LogReceived();
  host_.LogLink(">" + line);
}

}  // namespace zlink
