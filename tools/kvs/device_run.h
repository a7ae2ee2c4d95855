// kvs --port and --demo: the lines run against a device, with the device
// words, the device wait and the settings-file words.
#pragma once

#include <QString>
#include <functional>
#include <string>
#include <vector>

namespace engine {
class Engine;
}

namespace kvs {

struct DeviceRun {
  QString port;       // empty with demo
  bool demo = false;  // the in-memory simulated device of zelt --demo
  int timeout_s = 10;
};

// Exit statuses beyond 0 (done) and 2 (bad usage).
inline constexpr int kNoAnswer = 3;
inline constexpr int kRefused = 4;

// Registers the device words on `e`, waits for the device to answer, runs each
// line through run_line, and returns once the lines, the device wait and the
// send queue have ended. What went wrong is said on standard error.
int RunOnDevice(engine::Engine& e, const DeviceRun& run, const std::vector<std::string>& lines,
                const std::function<void(const std::string&)>& run_line);

}  // namespace kvs
