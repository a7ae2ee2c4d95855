// A whole simulated device: the memory model behind the frame protocol on a
// pseudo-terminal (Unix) or an in-memory line, with refusals at a rate, an
// image file and a timed unplug. zelt-sim, `zelt --demo` and the end-to-end
// tests run it.
#pragma once

#include <QObject>
#include <QRandomGenerator>
#include <QString>
#include <QTimer>
#include <memory>
#include <string>
#include <vector>

#include "device_model.h"
#include "device_line.h"
#include "zelt_device.h"

namespace sim {

// Where the program finds the device: a pseudo-terminal it opens as a serial
// port, or a port inside the same process.
enum class LineKind { kPseudoTerminal, kMemory };

#ifdef Q_OS_UNIX
inline constexpr LineKind kDefaultLine = LineKind::kPseudoTerminal;
#else
inline constexpr LineKind kDefaultLine = LineKind::kMemory;
#endif

struct SimulatorOptions {
  LineKind line_kind = kDefaultLine;
  zsim::DeviceOptions line;  // poll pause and reply time-out
  bool realtime = false;     // pace the output at 9600 baud
  double noise_rate = 0;     // chance of junk before a frame, and of a damaged frame
  double refuse_rate = 0;    // share of commands answered with a refusal
  int unplug_after_ms = -1;  // close the line once this time has passed
  QString link_path;         // a symbolic link that follows the pty; a memory line's name
  QString image_path;        // memory image: loaded at start, saved after writes
  quint32 seed = 20261207;
};

// The demonstration's device (zelt --demo, kvs --demo): the factory image,
// polled every 50 ms.
inline SimulatorOptions DemoOptions() {
  SimulatorOptions options;
  options.line.poll_interval_ms = 50;
  return options;
}

class DeviceSimulator : public QObject {
  Q_OBJECT

 public:
  explicit DeviceSimulator(SimulatorOptions options, QObject* parent = nullptr);
  ~DeviceSimulator() override;

  // Loads (or creates) the image, opens the line, starts polling.
  bool Start(QString* error);
  // The port for the program: the link path when there is one.
  QString PortPath() const;

  void SetRefuseRate(double rate);
  // Every command with this record code is refused too (-1: none).
  void SetRefusedCode(int code) { refused_code_ = code; }
  // The line closes; Plug opens a new one (the link path follows it).
  void Unplug();
  bool Plug(QString* error = nullptr);

  DeviceModel& model() { return model_; }
  zsim::ZeltDevice& device() { return *device_; }
  zsim::DeviceLine& line() { return *line_; }
  int refused() const { return refused_; }

 signals:
  void Unplugged();

 private:
  std::vector<std::string> Answer(const std::string& command);
  void SaveImage();

  SimulatorOptions options_;
  DeviceModel model_;
  std::unique_ptr<zsim::DeviceLine> line_;
  std::unique_ptr<zsim::ZeltDevice> device_;
  QRandomGenerator random_;
  QTimer unplug_timer_;
  int saved_sessions_ = 0;
  int refused_ = 0;
  int refused_code_ = -1;
};

}  // namespace sim
