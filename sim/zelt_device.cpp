#include "zelt_device.h"

#include <algorithm>


namespace zsim {

ZeltDevice::ZeltDevice(DeviceLine& port, DeviceOptions options, QObject* parent)
    : QObject(parent), port_(port), options_(options) {
  cycle_timer_.setSingleShot(true);
  reply_timer_.setSingleShot(true);
  silence_timer_.setSingleShot(true);
  connect(&cycle_timer_, &QTimer::timeout, this, &ZeltDevice::Next);
  connect(&reply_timer_, &QTimer::timeout, this, &ZeltDevice::OnReplyTimeout);
  connect(&silence_timer_, &QTimer::timeout, this, [this] { SetSilent(false); });
  connect(&port_, &DeviceLine::BytesReceived, this, &ZeltDevice::OnBytes);
}

void ZeltDevice::Start() {
  running_ = true;
  cycle_timer_.start(0);
}

void ZeltDevice::Stop() {
  running_ = false;
  cycle_timer_.stop();
  reply_timer_.stop();
}

void ZeltDevice::QueueRecord(const std::string& record) {
  if (!record.empty()) outbox_.push_back(record);
}

void ZeltDevice::SetSilent(bool silent) {
  silent_ = silent;
  if (!silent) silence_timer_.stop();
}

void ZeltDevice::SilenceFor(int ms) {
  SetSilent(true);
  silence_timer_.start(std::max(ms, 0));
}

void ZeltDevice::SetNoiseRate(double per_frame) { noise_rate_ = std::clamp(per_frame, 0.0, 1.0); }

void ZeltDevice::SendNoise(int bytes) {
  QByteArray junk;
  for (int i = 0; i < bytes; ++i) junk += static_cast<char>(random_.bounded(256));
  port_.Write(junk);
}

void ZeltDevice::CorruptNextFrames(int count) { corrupt_next_ = std::max(count, 0); }

void ZeltDevice::SetRefusing(bool on) { refusing_ = on; }

void ZeltDevice::Unplug() {
  port_.Close();
  assembler_.Reset();
}

bool ZeltDevice::Plug(QString* error) {
  assembler_.Reset();
  return port_.Open(error);
}

// One exchange: resend the frame in flight, or send a new one (a data frame
// when records wait, otherwise a poll).
void ZeltDevice::Next() {
  if (!running_) return;
  if (silent_ || !port_.IsOpen()) {
    cycle_timer_.start(options_.poll_interval_ms);
    return;
  }
  if (awaiting_ != Awaiting::kNothing) {
    SendCurrent(true);
    return;
  }
  if (!outbox_.empty()) {
    data_code_ = data_code_ == 0x41 ? 0x42 : 0x41;
    current_bytes_ = std::string(1, static_cast<char>(data_code_)) + outbox_.front();
    awaiting_ = Awaiting::kAck;
  } else {
    poll_code_ = poll_code_ == 0x43 ? 0x44 : 0x43;
    current_bytes_ = std::string(1, static_cast<char>(poll_code_));
    awaiting_ = Awaiting::kPollReply;
  }
  SendCurrent(false);
}

void ZeltDevice::SendCurrent(bool repeat) {
  const bool poll = awaiting_ == Awaiting::kPollReply;
  if (poll)
    ++(repeat ? stats_.poll_repeats : stats_.polls);
  else
    ++(repeat ? stats_.data_resends : stats_.data_frames);

  if (noise_rate_ > 0 && random_.generateDouble() < noise_rate_)
    SendNoise(1 + random_.bounded(12));
  std::string line = EncodeFrame(options_.address, current_bytes_);
  if (corrupt_next_ > 0) {
    --corrupt_next_;
    // The last checksum digit goes one up (F wraps to 0): the sum is off.
    char& digit = line.back();
    digit = digit == '9' ? 'A' : digit == 'F' ? '0' : static_cast<char>(digit + 1);
  }
  const QByteArray wire = QByteArray::fromStdString(line + "\r\n");
  port_.Write(wire);
  emit FrameSent(QByteArray::fromStdString(line));
  reply_timer_.start(options_.reply_timeout_ms + port_.TransferMs(wire.size()));
}

void ZeltDevice::OnReplyTimeout() {
  if (awaiting_ != Awaiting::kNothing) Next();
}

void ZeltDevice::OnBytes(const QByteArray& bytes) {
  for (char c : bytes)
    if (assembler_.Feed(c)) OnFrame(assembler_.text());
}

void ZeltDevice::OnFrame(const std::string& text) {
  emit FrameReceived(QByteArray::fromStdString(text));
  std::string bytes;
  const FrameStatus status = DecodeFrame(text, &bytes);
  if (status == FrameStatus::kBadSum) ++stats_.checksum_errors;
  if (status != FrameStatus::kGood) return;
  if (static_cast<uint8_t>(bytes[0]) != options_.address || awaiting_ == Awaiting::kNothing) return;
  // A reply to an older frame (its code differs) is not an answer to this one.
  if (bytes[1] != current_bytes_[0]) return;

  if (awaiting_ == Awaiting::kAck) {
    if (bytes.size() != 2) return;
    ++stats_.acks;
    const std::string record = outbox_.empty() ? std::string() : outbox_.front();
    if (!outbox_.empty()) outbox_.pop_front();
    Finish();
    emit RecordAcknowledged(QByteArray::fromStdString(record));
    return;
  }
  ++stats_.poll_replies;
  const std::string record = bytes.substr(2);
  Finish();
  if (!record.empty() && record[0] != 0) {
    if (static_cast<uint8_t>(record[0]) + 1u != record.size()) {
      ++stats_.bad_records;
      return;
    }
    HandleCommand(record);
  }
}

void ZeltDevice::Finish() {
  awaiting_ = Awaiting::kNothing;
  reply_timer_.stop();
  if (running_) cycle_timer_.start(options_.poll_interval_ms);
}

void ZeltDevice::HandleCommand(const std::string& record) {
  ++stats_.commands;
  commands_.push_back(record);
  emit CommandReceived(QByteArray::fromStdString(record));
  if (refusing_) {
    // Length, the refusal code, the command byte that was refused.
    const char command = record.size() > 2 ? record[2] : 0;
    QueueRecord(std::string{'\x02', static_cast<char>(kRefusalCode), command});
    return;
  }
  if (OnCommand)
    for (const std::string& answer : OnCommand(record)) QueueRecord(answer);
}

}  // namespace zsim
