// How the device words, the response dispatcher and the device wait reach the
// links of the link table. The window adapts its RSThread links to this; tests use plain ones.
#pragma once

#include <cstdint>
#include <string>

namespace device {

class LinkEnd {
 public:
  virtual ~LinkEnd() = default;
  // Set once the device has sent a frame addressed to the program.
  virtual bool Answered() const = 0;
  // Appends a record in spaced hexadecimal to the link's send queue.
  virtual void AppendToQueue(const std::string& record_text) = 0;
  virtual std::string LastCommand() const = 0;
  virtual void SetLastCommand(const std::string& record_text) = 0;
  virtual void SetPacing(bool on) = 0;
  // The record the link sent last, in spaced hexadecimal ("" when none; a
  // link that does not keep it has nothing to repeat).
  virtual std::string LastSent() const { return {}; }
  // The device refused that record: repeat it next, ahead of the queue, when
  // `may_repeat` and it was not the repeat already; otherwise it has failed
  // and the data bytes it did not write are returned.
  virtual int32_t Refused(bool /*may_repeat*/) { return 0; }
  // The device has answered and nothing waits in the send queue.
  virtual bool Idle() const { return false; }
  virtual bool Open() const { return true; }
};

class LinkTable {
 public:
  virtual ~LinkTable() = default;
  // Slot 1 to 8; nullptr when the slot is empty or out of range. Never keep
  // the pointer across a script line: the supervision may stop the link.
  virtual LinkEnd* Slot(int number) = 0;
};

}  // namespace device

namespace device {

// LinkEnd over anything with the link's fields: RSThread, or the bare
// LinkProtocol in tests.
template <class Link>
class LinkEndOf : public LinkEnd {
 public:
  explicit LinkEndOf(Link* link = nullptr) : link_(link) {}
  void Reset(Link* link) { link_ = link; }
  Link* get() const { return link_; }

  bool Answered() const override { return link_->Answered(); }
  void AppendToQueue(const std::string& record_text) override {
    link_->SendQueue() += record_text;
  }
  std::string LastCommand() const override { return link_->LastCommand(); }
  void SetLastCommand(const std::string& record_text) override {
    link_->LastCommand() = record_text;
  }
  void SetPacing(bool on) override { link_->SetPacing(on); }
  std::string LastSent() const override { return link_->LastSent(); }
  int32_t Refused(bool may_repeat) override { return link_->Refused(may_repeat); }

 private:
  Link* link_;
};

}  // namespace device
