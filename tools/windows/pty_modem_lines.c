/* Preloaded into Wine for the COM-port e2e: a pseudo-terminal has no modem
 * lines, and Wine's wait for serial events (WaitCommEvent) gives up at once
 * when it cannot read them, so nothing is ever received on a COM port mapped
 * to a pty. Here the missing lines read as those of a plain cable (DSR, CTS
 * and carrier high) and setting them succeeds; every other call, and every
 * call on a real serial port, goes to the C library unchanged. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <errno.h>
#include <stdarg.h>
#include <sys/ioctl.h>

int ioctl(int fd, unsigned long request, ...) {
  static int (*real)(int, unsigned long, ...);
  va_list args;
  va_start(args, request);
  void* arg = va_arg(args, void*);
  va_end(args);
  if (!real) real = (int (*)(int, unsigned long, ...))dlsym(RTLD_NEXT, "ioctl");
  int result = real(fd, request, arg);
  if (result == -1 && (errno == ENOTTY || errno == EINVAL)) {
    if (request == TIOCMGET) {
      *(int*)arg = TIOCM_DSR | TIOCM_CTS | TIOCM_CAR;
      return 0;
    }
    if (request == TIOCMSET || request == TIOCMBIS || request == TIOCMBIC) return 0;
  }
  return result;
}
