#include "rs.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include "cp1251.h"
#include "guarded.h"
#include "link_log.h"
#include "link_texts.h"

namespace zlink {
namespace {

QString& FolderOverride() {
  static QString folder;
  return folder;
}

QString WithSeparator(QString folder) {
  if (!folder.endsWith(QLatin1Char('/'))) folder += QLatin1Char('/');
  return folder;
}

}  // namespace

// %LOCALAPPDATA%\zelt on Windows, ~/.local/share/zelt elsewhere.
QString LinkLogFolder() {
  if (!FolderOverride().isEmpty()) return WithSeparator(FolderOverride());
  const QString program_dir = QCoreApplication::applicationDirPath();
  const QFileInfo info(program_dir);
  if (!program_dir.isEmpty() && info.isDir() && info.isWritable())
    return WithSeparator(program_dir);
  // An installed program may not write beside itself; the logs go to the
  // user's data folder instead of being lost.
  const QString data_dir = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
  QDir().mkpath(data_dir);
  return WithSeparator(data_dir);
}

void SetLinkLogFolder(const QString& folder) { FolderOverride() = folder; }

RSThread::RSThread(QObject* parent) : QObject(parent) {
  pacing_timer_.setSingleShot(true);
  connect(&pacing_timer_, &QTimer::timeout, this, [this] {
    CallScope scope(*this);
    Guarded([this] { protocol_.FinishPacing(); });
  });
}

RSThread::~RSThread() = default;

RSThread::CallScope::~CallScope() {
  // Contact is told once the frames are done with, so that what it starts
  // (ONCONNECT) never runs inside the link's receive processing.
  if (link_.depth_ == 1 && link_.contact_pending_) {
    link_.contact_pending_ = false;
    link_.ReportContact();
  }
  if (--link_.depth_ == 0 && link_.release_pending_) {
    link_.release_pending_ = false;
    link_.deleteLater();
  }
}

RSThread* RSThread::StartLink(const QString& port_name, LinkView* view) {
  auto* link = new RSThread();
  link->program_dir_ = LinkLogFolder();
  link->log_folder_ = link->program_dir_.toStdString();
  link->port_name_ = port_name;
  link->OpenPort(port_name);
  // The opening lines go to the log file only: memo and label come now.
  link->view_ = view;
  // A child, so that tests can find it and run it out by hand.
  link->link_timer_ = new QTimer(link);
  link->link_timer_->setObjectName(QStringLiteral("LinkTimer"));
  link->link_timer_->setInterval(kLinkTimeoutMs);
  connect(link->link_timer_, &QTimer::timeout, link, &RSThread::MarkDisconnected);
  link->link_timer_->start();
  return link;
}

void RSThread::OpenPort(const QString& port_name) {
  speed_text_ = QStringLiteral("9600");
  Log(std::string(kOpening) + engine::ToCp1251(port_name) + ":" + engine::ToCp1251(speed_text_));
  int speed = 0;
  for (int i = 0; i < TCommPortDriver::kRateCount; ++i)
    if (speed_text_ == QLatin1String(TCommPortDriver::kRateNames[i])) speed = i;
  driver_ = std::make_unique<TCommPortDriver>();
  driver_->SetComPort(port_name);
  driver_->SetComPortSpeed(static_cast<TCommPortDriver::TComPortBaudRate>(speed));
  driver_->OnReceiveData = [this](TCommPortDriver* driver, const char* data, int32_t size) {
    OnBytes(driver, data, size);
  };
  connect(driver_.get(), &TCommPortDriver::Closed, this, &RSThread::PortClosed);
  Log(driver_->Connect() ? kOpenedOk : kOpenFailed);
}

void RSThread::StopLink(RSThread* link) {
  if (link == nullptr) return;
  link->Stop();
  if (link->depth_ == 0)
    link->deleteLater();
  else
    link->release_pending_ = true;
}

void RSThread::Stop() {
  if (stopped_) return;
  stopped_ = true;
  if (link_timer_) link_timer_->stop();
  pacing_timer_.stop();
  protocol_.Stop();
  if (driver_) {
    driver_->OnReceiveData = nullptr;
    driver_->Disconnect();
  }
  emit LinkStopped(this);
}

void RSThread::OnBytes(TCommPortDriver*, const char* data, int32_t size) {
  if (stopped_ || data == nullptr || size <= 0) return;
  CallScope scope(*this);
  // A fault in one frame must not end the link.
  Guarded([&] { protocol_.Feed(std::string_view(data, static_cast<size_t>(size))); });
}

void RSThread::Log(const std::string& text) {
  log_.Append(log_folder_, text, LocalNow());
  ShowLine(text);
  // Said once, in the memo only: a line with '>' would mark the link connected.
  if (view_ && log_.TakeNewFailure()) {
    const QString file = QDir::toNativeSeparators(
        program_dir_ + QString::fromStdString(LinkLogFileName(LocalNow())));
    Guarded([&] {
      view_->AddLinkMemoLine(
          LinkMemoLine(std::string(kLogLost) + engine::ToCp1251(file), LocalNow()));
    });
  }
}

void RSThread::ShowLine(const std::string& text) {
  Guarded([&] {
    if (CountsAsContact(text)) {
      if (depth_ > 0) {
        contact_pending_ = true;
      } else {
        ReportContact();
      }
      if (link_timer_ && !stopped_) {
        link_timer_->stop();
        link_timer_->setInterval(kLinkTimeoutMs);
        link_timer_->start();
      }
    }
    if (view_) view_->AddLinkMemoLine(LinkMemoLine(text, LocalNow()));
  });
}

void RSThread::ReportContact() {
  Guarded([this] {
    if (view_ && !stopped_) view_->ReportState(LinkState::kConnected);
  });
}

void RSThread::PortClosed() {
  if (stopped_) return;
  // No contact can come any more: the link says so now, not when its timer runs out.
  if (link_timer_) link_timer_->stop();
  MarkDisconnected();
}

void RSThread::MarkDisconnected() {
  Guarded([this] {
    if (view_) view_->ReportState(LinkState::kNotConnected);
  });
}

void RSThread::WriteWire(const std::string& bytes) {
  if (driver_) driver_->SendData(bytes.data(), static_cast<int32_t>(bytes.size()));
}

void RSThread::DeliverRecord(const std::string& record) {
  if (!OnRecord) return;
  Guarded([&] { OnRecord(*this, 1, record); });
}

void RSThread::BeginPacing() { pacing_timer_.start(kPacingMs); }

}  // namespace zlink
