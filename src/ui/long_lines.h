// Long script lines. Once a line has run for about 0.3 s the window keeps the
// device link answering polls and keeps painting, the status bar says that a
// line runs, and the operator can stop it with Esc or the status bar's
// "Прервать" button. Meanwhile no other line starts: records received and
// lines from timers wait until the line has ended and then run in the order
// they came; the operator's input other than the stop is dropped, and a
// request to close the window closes it once the line has ended.
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <cstdint>
#include <deque>
#include <functional>
#include <string>

#include "device_session.h"
#include "engine.h"

class QPoint;
class QPushButton;
class QStatusBar;

namespace ui {

class TMainForm;

class LongLines : public QObject, public engine::LinePulse, public device::RecordHold {
  Q_OBJECT

 public:
  static constexpr int kLongAfterMs = 300;
  static constexpr int kPumpEveryMs = 15;

  // The stop button sits in `status_bar`.
  LongLines(TMainForm& form, QStatusBar& status_bar, engine::Engine& engine);
  ~LongLines() override;

  // A long line runs, or what came during one has not run yet: work that
  // would run a line goes to Later().
  bool Holding() const override { return long_ || !held_.empty(); }
  void Later(std::function<void()> work) override;
  bool LineIsLong() const { return long_; }
  QPushButton* StopButton() const { return stop_button_; }

  // engine::LinePulse
  void Pulse() override;
  void Hold(std::string line) override;
  void LinesEnded() override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Stop();
  bool OnStopButton(const QPoint& global) const;
  // Shows one of the texts of its own in the status bar.
  void Say(const char* text);
  // Lets the window handle what has come: port bytes, paint, the stop.
  void Pump();
  void RunHeld();

  TMainForm& form_;
  engine::Engine& engine_;
  QPushButton* stop_button_ = nullptr;
  QElapsedTimer line_clock_;
  QElapsedTimer pump_clock_;
  uint32_t line_serial_ = 0;
  bool long_ = false;
  bool stopped_ = false;
  bool running_held_ = false;
  bool close_after_line_ = false;
  uint32_t said_serial_ = 0;  // the status bar's count at the last Say()
  std::deque<std::function<void()>> held_;
};

}  // namespace ui
