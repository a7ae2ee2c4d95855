// What the page area shows while no link to the device is open: how to
// connect it, which ports were tried and what each said, and how to look
// around without a device.
#pragma once

#include <QList>
#include <QScrollArea>
#include <QString>
#include <functional>

class QLabel;
class QPushButton;

namespace ui {

enum class PortState {
  kNotFound,      // a --port name that is not there
  kNoPermission,  // the user may not open it
  kBusy,          // another program holds it
  kNotSerial,     // opens, but takes no serial line settings (/dev/null, a plain file)
  kFailed,        // did not open for another reason
  kOpen,
};

struct PortAttempt {
  QString port;
  PortState state = PortState::kFailed;
  QString detail;  // the system's own words, for kFailed
  QString group;   // the group that may open it, for kNoPermission ("" when unknown)
  bool group_not_yet_active = false;  // the user is listed in it, this session lacks it
};

struct NoDeviceReport {
  QList<PortAttempt> ports;  // in the order tried
  bool ports_given = false;  // --port named them, rather than the platform's scan
  QString script_problem;    // why Setup.KVS gave no pages; "" when it did
};

// Why the port at this name did not open, asked of the system after the
// link's own attempt failed.
PortAttempt ProbePort(const QString& port);

// The panel's text (rich text).
QString NoDeviceText(const NoDeviceReport& report);

class NoDevicePanel : public QScrollArea {
 public:
  explicit NoDevicePanel(QWidget* parent);

  static constexpr char kDemoCaption[] = "Запустить демонстрацию";

  void SetReport(const NoDeviceReport& report);
  QString Text() const;
  // What the demonstration button does; without it the button is hidden.
  void SetDemoAction(std::function<void()> start_demo);
  QPushButton* DemoButton() const { return demo_; }

 private:
  QLabel* text_;
  QPushButton* demo_;
  std::function<void()> start_demo_;
};

}  // namespace ui
