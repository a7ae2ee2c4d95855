#include "port_probe.h"

#include "CommDrv.h"

#ifndef _WIN32
#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#endif

namespace device {

namespace {

#ifndef _WIN32
// The group a serial port opens for (dialout, uucp on Arch), and whether the
// user is already listed in it while this session started without it.
void NoteGroup(const QByteArray& path, PortAttempt& attempt) {
  struct stat info {};
  if (::stat(path.constData(), &info) != 0 || info.st_gid == 0) return;
  if ((info.st_mode & (S_IRGRP | S_IWGRP)) != (S_IRGRP | S_IWGRP)) return;
  const struct group* group = ::getgrgid(info.st_gid);
  if (!group) return;
  attempt.group = QString::fromLocal8Bit(group->gr_name);
  const struct passwd* user = ::getpwuid(::getuid());
  if (!user || !group->gr_mem) return;
  for (char** member = group->gr_mem; *member; ++member) {
    if (std::strcmp(*member, user->pw_name) == 0) attempt.group_not_yet_active = true;
  }
}
#endif

}  // namespace

PortAttempt ProbePort(const QString& port) {
  PortAttempt attempt{port, PortState::kFailed, {}};
#ifdef _WIN32
  attempt.detail = QStringLiteral("занят другой программой или нет доступа");
#else
  const QByteArray path = TCommPortDriver::DevicePath(port).toLocal8Bit();
  const int fd = ::open(path.constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
  if (fd >= 0) {
    termios settings{};
    const bool serial = ::tcgetattr(fd, &settings) == 0;
    ::close(fd);
    // A serial port that opens now was held at the link's attempt.
    attempt.state = serial ? PortState::kBusy : PortState::kNotSerial;
    return attempt;
  }
  switch (errno) {
    case ENOENT:
    case ENODEV:
    case ENXIO:
      attempt.state = PortState::kNotFound;
      break;
    case EACCES:
    case EPERM:
    case EROFS:
      attempt.state = PortState::kNoPermission;
      NoteGroup(path, attempt);
      break;
    case EBUSY:
      attempt.state = PortState::kBusy;
      break;
    default:
      attempt.detail = QString::fromLocal8Bit(std::strerror(errno));
      break;
  }
#endif
  return attempt;
}

}  // namespace device
