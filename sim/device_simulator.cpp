#include "device_simulator.h"

#include <QFileInfo>
#include <algorithm>
#include <cstdio>

#include "memory_line.h"
#ifdef Q_OS_UNIX
#include "pty_port.h"
#endif

namespace sim {
namespace {

// A memory line needs a name; the demo's is "DEMO".
std::unique_ptr<zsim::DeviceLine> MakeLine(const SimulatorOptions& options) {
#ifdef Q_OS_UNIX
  if (options.line_kind == LineKind::kPseudoTerminal) {
    auto pty = std::make_unique<zsim::PtyPort>();
    if (!options.link_path.isEmpty()) pty->SetLinkPath(options.link_path);
    return pty;
  }
#endif
  return std::make_unique<zsim::MemoryLine>(
      options.link_path.isEmpty() ? QStringLiteral("DEMO") : options.link_path);
}

}  // namespace

DeviceSimulator::DeviceSimulator(SimulatorOptions options, QObject* parent)
    : QObject(parent), options_(std::move(options)), line_(MakeLine(options_)), random_(options_.seed) {
  line_->SetRealtime(options_.realtime);
  device_ = std::make_unique<zsim::ZeltDevice>(*line_, options_.line);
  device_->SetNoiseRate(options_.noise_rate);
  device_->OnCommand = [this](const std::string& command) { return Answer(command); };
  // Noise also damages frames: the next frame goes out with a wrong checksum.
  connect(device_.get(), &zsim::ZeltDevice::FrameSent, this, [this] {
    if (options_.noise_rate > 0 && random_.generateDouble() < options_.noise_rate) {
      device_->CorruptNextFrames(1);
    }
  });
  unplug_timer_.setSingleShot(true);
  connect(&unplug_timer_, &QTimer::timeout, this, &DeviceSimulator::Unplug);
}

DeviceSimulator::~DeviceSimulator() {
  device_->Stop();
  SaveImage();
}

bool DeviceSimulator::Start(QString* error) {
  if (!options_.image_path.isEmpty()) {
    std::string reason;
    const std::string path = options_.image_path.toStdString();
    if (QFileInfo::exists(options_.image_path)) {
      if (!model_.LoadImage(path, &reason)) {
        if (error) *error = QString::fromStdString(reason);
        return false;
      }
    } else if (!model_.SaveImage(path, &reason)) {
      if (error) *error = QString::fromStdString(reason);
      return false;
    }
  }
  if (!line_->Open(error)) return false;
  device_->Start();
  if (options_.unplug_after_ms >= 0) unplug_timer_.start(options_.unplug_after_ms);
  return true;
}

QString DeviceSimulator::PortPath() const {
  return line_->PortName();
}

void DeviceSimulator::SetRefuseRate(double rate) { options_.refuse_rate = std::clamp(rate, 0.0, 1.0); }

void DeviceSimulator::Unplug() {
  device_->Unplug();
  emit Unplugged();
}

bool DeviceSimulator::Plug(QString* error) { return device_->Plug(error); }

std::vector<std::string> DeviceSimulator::Answer(const std::string& command) {
  const bool by_code = command.size() > 2 && static_cast<uint8_t>(command[2]) == refused_code_;
  if (by_code || (options_.refuse_rate > 0 && random_.generateDouble() < options_.refuse_rate &&
                  command.size() > 2)) {
    ++refused_;
    return {std::string{'\x02', static_cast<char>(zsim::ZeltDevice::kRefusalCode), command[2]}};
  }
  std::vector<std::string> answers = model_.Answer(command);
  if (model_.write_sessions() != saved_sessions_) SaveImage();
  return answers;
}

void DeviceSimulator::SaveImage() {
  saved_sessions_ = model_.write_sessions();
  if (options_.image_path.isEmpty()) return;
  std::string reason;
  if (!model_.SaveImage(options_.image_path.toStdString(), &reason)) {
    std::fprintf(stderr, "zelt-sim: %s\n", reason.c_str());
  }
}

}  // namespace sim
