// What the page area shows while no link to the device is open: how to
// connect it, which ports were tried and what each said, and how to look
// around without a device.
#pragma once

#include <QScrollArea>
#include <QString>
#include <functional>

#include "port_probe.h"

class QLabel;
class QPushButton;

namespace ui {

using device::NoDeviceReport;
using device::PortAttempt;
using device::PortState;

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
