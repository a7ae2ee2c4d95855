// A ZELT-2 GSM device as the program meets it on the line: it polls at
// address 02, takes the command records that come back in the replies, sends
// its own records as data frames and resends what is not acknowledged. Faults
// can be injected: noise, silence, refusals, bad checksums, unplugging.
#pragma once

#include <QByteArray>
#include <QObject>
#include <QRandomGenerator>
#include <QTimer>
#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "device_line.h"
#include "sim_frame.h"

namespace zsim {

struct DeviceOptions {
  int poll_interval_ms = 100;  // pause between two exchanges
  int reply_timeout_ms = 300;  // wait for a reply before repeating a frame
  uint8_t address = 2;
};

struct DeviceStats {
  int polls = 0;            // new polls sent
  int poll_repeats = 0;     // polls sent again with the same code
  int poll_replies = 0;     // polls answered
  int commands = 0;         // command records received in replies
  int data_frames = 0;      // new data frames sent
  int data_resends = 0;     // data frames sent again
  int acks = 0;             // data frames acknowledged
  int checksum_errors = 0;  // frames from the program with a wrong checksum
  int bad_records = 0;      // replies whose record length does not match
};

class ZeltDevice : public QObject {
  Q_OBJECT

 public:
  // A refusal: record code 92 followed by the refused command byte.
  static constexpr uint8_t kRefusalCode = 0x92;

  ZeltDevice(DeviceLine& port, DeviceOptions options = {}, QObject* parent = nullptr);

  void Start();
  void Stop();

  // A record (length byte, then that many bytes) to send as a data frame.
  void QueueRecord(const std::string& record);
  size_t QueuedRecords() const { return outbox_.size(); }

  // Answers a command record with the records to send back. The memory image
  // that answers commands plugs in here; without it commands are only counted.
  std::function<std::vector<std::string>(const std::string& command)> OnCommand;

  // Faults.
  void SetSilent(bool silent);
  void SilenceFor(int ms);
  bool silent() const { return silent_; }
  void SetNoiseRate(double per_frame);  // junk before a frame, 0 to 1
  void SendNoise(int bytes);
  void CorruptNextFrames(int count);  // wrong checksum on the next frames
  void SetRefusing(bool on);          // every command gets a refusal
  void Unplug();
  bool Plug(QString* error = nullptr);

  const DeviceStats& stats() const { return stats_; }
  // Every command record received, in order.
  const std::vector<std::string>& commands() const { return commands_; }

 signals:
  void CommandReceived(const QByteArray& record);
  void RecordAcknowledged(const QByteArray& record);
  void FrameSent(const QByteArray& line);
  void FrameReceived(const QByteArray& text);

 private:
  enum class Awaiting { kNothing, kPollReply, kAck };

  void Next();
  void SendCurrent(bool repeat);
  void OnBytes(const QByteArray& bytes);
  void OnFrame(const std::string& text);
  void OnReplyTimeout();
  void Finish();
  void HandleCommand(const std::string& record);

  DeviceLine& port_;
  DeviceOptions options_;
  FrameReader assembler_;
  QTimer cycle_timer_;
  QTimer reply_timer_;
  QTimer silence_timer_;
  bool running_ = false;
  bool silent_ = false;
  bool refusing_ = false;
  double noise_rate_ = 0;
  int corrupt_next_ = 0;
  QRandomGenerator random_{20261206};

  std::deque<std::string> outbox_;
  Awaiting awaiting_ = Awaiting::kNothing;
  std::string current_bytes_;  // code and record of the frame in flight
  uint8_t poll_code_ = 0x44;   // the next poll toggles to 43 first
  uint8_t data_code_ = 0x42;

  DeviceStats stats_;
  std::vector<std::string> commands_;
};

}  // namespace zsim
