// What the link knows of the device's write sessions: whether one is open
// (open writing sent, close writing not yet) and how many data bytes went out
// in it, so that a refused close can count them as not written.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace zlink {

// Data bytes a record writes into the device's memory: none unless it is a
// write (command 6F). `record` is bytes, length byte first.
int32_t WriteDataBytes(std::string_view record);
// Data bytes of the write records in a send queue (spaced hexadecimal).
int32_t QueuedWriteBytes(std::string queue);

class WriteSession {
 public:
  // A record went out in answer to a poll; `repeat` when it is the repeat of
  // a refused one.
  void Sent(std::string_view record, bool repeat);
  // The device refused the record for good: the data bytes it did not write.
  // A refused close counts every byte of its session not counted yet.
  int32_t Failed(std::string_view record);

  bool open() const { return open_; }

 private:
  bool open_ = false;
  int32_t session_bytes_ = 0;  // written in the open session, none failed
  int32_t closing_bytes_ = 0;  // the session's bytes while its close awaits its answer
};

}  // namespace zlink
