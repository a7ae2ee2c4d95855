// The program's side of the frame protocol fed with arbitrary line bytes.
// Whatever arrives, every reply must be a well-formed frame and every
// delivered record must come from a frame with a good checksum.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "UHex.h"
#include "frame.h"
#include "link_protocol.h"

namespace {

class CheckingHost : public zlink::LinkProtocolHost {
 public:
  void LogLink(const std::string&) override {}
  void WriteWire(const std::string& bytes) override {
    if (bytes.size() < 9 || bytes[0] != ':' || bytes.substr(bytes.size() - 2) != "\r\n") std::abort();
    const std::string text = bytes.substr(1, bytes.size() - 3);
    if (zlink::VerifyFrame(text).kind != zlink::FrameCheck::Kind::kGood) std::abort();
  }
  void DeliverRecord(const std::string& record) override {
    if (record.size() < 2 || record[0] != 2 || record[1] == 0) std::abort();
  }
  void BeginPacing() override { pacing = true; }
  bool pacing = false;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // The first byte picks a queue and pacing; the rest is the line.
  CheckingHost host;
  zlink::LinkProtocol protocol(host);
  if (size > 0) {
    if (data[0] & 1) protocol.SendQueue() = "03 02 AD 03 05 02 AD 01 00 00 ";
    if (data[0] & 2) protocol.SetPacing(true);
    ++data;
    --size;
  }
  const std::string line(reinterpret_cast<const char*>(data), size);
  // Split the bytes the way a port might hand them over.
  const size_t step = size > 0 ? 1 + data[0] % 7 : 1;
  for (size_t pos = 0; pos < line.size(); pos += step) {
    protocol.Feed(std::string_view(line).substr(pos, step));
    while (host.pacing) {
      host.pacing = false;
      protocol.FinishPacing();
    }
  }
  // The queue words' text goes through TakeRecord too.
  std::string queue = line;
  for (int i = 0; i < 64 && !queue.empty(); ++i) uhex::TakeRecord(queue);
  return 0;
}
