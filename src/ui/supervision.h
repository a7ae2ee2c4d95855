// Port discovery and connection supervision: the first link at start-up,
// TimerCOM moving the link along the port list while nothing answers, clearing
// the pages when every port has gone, and the operator's own port choice.
#pragma once

#include <QObject>
#include <QStringList>
#include <functional>
#include <string>

#include "no_device_panel.h"

class QComboBox;
class QTimer;

namespace zlink {
class LinkRegistry;
class LinkView;
class RSThread;
}  // namespace zlink

namespace ui {

struct SupervisionParts {
  zlink::LinkRegistry* links = nullptr;  // the current link and slot 1
  QComboBox* combo = nullptr;       // ComboBoxCom, the port list
  zlink::LinkView* view = nullptr;  // the link memo and the link state
  QTimer* timer_com = nullptr;      // TimerCOM, off while a tick works
  std::function<QStringList()> scan;
  std::function<void(const std::string& cp1251)> show_status;
  std::function<void(const std::string& line)> execute_line;
  std::function<void()> stop_timers;  // Timer1 and WaitTimer
  // The current link is about to be stopped: a device wait on it ends.
  std::function<void()> link_lost;
  // Hands the link's records to the response dispatcher.
  std::function<void(zlink::RSThread& link)> bind_link;
  // The --port names (empty for the platform's scan): those not present are
  // reported as not found.
  QStringList wanted_ports;
  // After each start-up, tick and operator's choice: the links may have changed.
  std::function<void()> changed;
  // The pages and the tree were cleared because every port had gone.
  std::function<void()> pages_cleared;
};

class PortSupervision : public QObject {
  Q_OBJECT

 public:
  explicit PortSupervision(SupervisionParts parts, QObject* parent = nullptr);
  ~PortSupervision() override;

  // Start-up: fills the port list and links to its first port. True when a
  // link was made.
  bool StartFirstLink();
  // One TimerCOM tick. Never throws.
  void Tick();

  int cycle_index() const { return cycle_index_; }

  // A link whose port is open is current.
  bool LinkOpen() const;
  // The ports tried since the last scan and what each said.
  NoDeviceReport Report() const;

 private:
  void MakeLink(const QString& port);
  void StopCurrentLink();
  void FillList(const QStringList& ports);
  void OperatorChoice(int index);
  void NoteScan(const QStringList& found);
  void NoteAttempt(const QString& port);
  void Changed();

  SupervisionParts parts_;
  int cycle_index_ = 0;
  QList<PortAttempt> attempts_;
  bool filling_ = false;  // selections made here are not the operator's
};

}  // namespace ui
