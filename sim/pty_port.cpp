#include "pty_port.h"

#include <QFile>
#include <QSocketNotifier>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace zsim {
namespace {

// Unread input above this means nobody is at the other end.
constexpr int kUnreadLimit = 1024;

}  // namespace

PtyPort::PtyPort(QObject* parent) : DeviceLine(parent) {}

PtyPort::~PtyPort() { Close(); }

bool PtyPort::Open(QString* error) {
  Close();
  auto fail = [&](const char* what) {
    if (error) *error = QStringLiteral("%1: %2").arg(what, QString::fromLocal8Bit(strerror(errno)));
    Close();
    return false;
  };
  master_fd_ = posix_openpt(O_RDWR | O_NOCTTY);
  if (master_fd_ < 0) return fail("posix_openpt");
  if (grantpt(master_fd_) != 0 || unlockpt(master_fd_) != 0) return fail("unlockpt");
  char name[256] = {};
  if (ptsname_r(master_fd_, name, sizeof name) != 0) return fail("ptsname");
  fcntl(master_fd_, F_SETFL, fcntl(master_fd_, F_GETFL) | O_NONBLOCK);
  fcntl(master_fd_, F_SETFD, FD_CLOEXEC);
  slave_fd_ = ::open(name, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (slave_fd_ < 0) return fail("open slave");
  termios tio{};
  if (tcgetattr(slave_fd_, &tio) == 0) {
    cfmakeraw(&tio);
    cfsetispeed(&tio, B9600);
    cfsetospeed(&tio, B9600);
    tcsetattr(slave_fd_, TCSANOW, &tio);
  }
  slave_path_ = QString::fromLocal8Bit(name);
  if (!link_path_.isEmpty()) {
    QFile::remove(link_path_);
    QFile::link(slave_path_, link_path_);
  }
  read_notifier_ = std::make_unique<QSocketNotifier>(master_fd_, QSocketNotifier::Read);
  connect(read_notifier_.get(), &QSocketNotifier::activated, this, &PtyPort::ReadMaster);
  StartPacing();
  return true;
}

void PtyPort::Close() {
  read_notifier_.reset();
  StopPacing();
  if (master_fd_ >= 0) ::close(master_fd_);
  if (slave_fd_ >= 0) ::close(slave_fd_);
  master_fd_ = slave_fd_ = -1;
  if (!link_path_.isEmpty()) QFile::remove(link_path_);
}

void PtyPort::DropUnreadInput() {
  int unread = 0;
  if (ioctl(slave_fd_, FIONREAD, &unread) == 0 && unread > kUnreadLimit)
    tcflush(slave_fd_, TCIFLUSH);
}

qint64 PtyPort::Send(const char* data, qint64 size) {
  const ssize_t n = ::write(master_fd_, data, static_cast<size_t>(size));
  if (n >= 0) return n;
  return errno == EAGAIN || errno == EINTR ? 0 : -1;
}

void PtyPort::ReadMaster() {
  char buffer[4096];
  const ssize_t n = ::read(master_fd_, buffer, sizeof buffer);
  if (n > 0) {
    emit BytesReceived(QByteArray(buffer, static_cast<int>(n)));
  } else if (n < 0 && errno != EAGAIN && errno != EINTR) {
    read_notifier_->setEnabled(false);
  }
}

}  // namespace zsim
