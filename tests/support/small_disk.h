// Full-disk cases. The check runs in a child process in which a folder holds
// little: a tmpfs of the child's own is mounted over it (as root in a new
// mount namespace, as anyone else through a user namespace); where that is
// refused, no file of the child may grow past a size limit (RLIMIT_FSIZE,
// SIGXFSZ ignored), which fails writes the same way. Unix only.
#pragma once

#ifndef _WIN32
#include <fcntl.h>
#include <sched.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

namespace test_support {

class SmallDisk {
 public:
  explicit SmallDisk(std::filesystem::path folder) : folder_(std::move(folder)) {}

  // Mounts the tmpfs, when the system lets the child.
  void Mount() {
    const uid_t uid = geteuid();
    const gid_t gid = getegid();
    const int flags = uid == 0 ? CLONE_NEWNS : CLONE_NEWNS | CLONE_NEWUSER;
    if (unshare(flags) != 0) return;
    if (uid != 0 && !(WriteProc("setgroups", "deny") &&
                      WriteProc("uid_map", "0 " + std::to_string(uid) + " 1") &&
                      WriteProc("gid_map", "0 " + std::to_string(gid) + " 1")))
      return;
    if (mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) return;
    tmpfs_ = mount("tmpfs", folder_.c_str(), "tmpfs", 0, "size=1m") == 0;
  }
  bool tmpfs() const { return tmpfs_; }
  const char* how() const { return tmpfs_ ? "a full tmpfs" : "a file-size limit"; }

  // From now on at most `room` more bytes fit: the tmpfs is filled up to a
  // few pages, or no file may grow past `room` bytes.
  void Fill(size_t room) {
    if (!tmpfs_) {
      signal(SIGXFSZ, SIG_IGN);
      rlimit limit{};
      getrlimit(RLIMIT_FSIZE, &limit);
      limit.rlim_cur = room;
      setrlimit(RLIMIT_FSIZE, &limit);
      return;
    }
    const std::string filler = (folder_ / ".filler").string();
    int fd = open(filler.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    const std::vector<char> page(4096, 'f');
    off_t size = 0;
    ssize_t wrote;
    while ((wrote = write(fd, page.data(), page.size())) > 0) size += wrote;
    const off_t pages = static_cast<off_t>((room + 4095) / 4096);
    static_cast<void>(!ftruncate(fd, size > pages * 4096 ? size - pages * 4096 : 0));
    close(fd);
  }

 private:
  static bool WriteProc(const char* name, const std::string& text) {
    std::ofstream out(std::string("/proc/self/") + name);
    out << text;
    out.flush();
    return static_cast<bool>(out);
  }

  std::filesystem::path folder_;
  bool tmpfs_ = false;
};

// Runs `check` in a child where `folder` is small; the check returns what
// went wrong ("" for nothing). The child's answer, prefixed by how the
// folder was made small; a crashed child is an answer too.
inline std::string OnSmallDisk(const std::filesystem::path& folder,
                               const std::function<std::string(SmallDisk&)>& check) {
  int pipe_fds[2];
  if (pipe(pipe_fds) != 0) return "no pipe";
  const pid_t child = fork();
  if (child == 0) {
    close(pipe_fds[0]);
    SmallDisk disk(folder);
    disk.Mount();
    std::string findings = check(disk);
    std::string answer = std::string(disk.how()) + ": " + (findings.empty() ? "ok" : findings);
    ssize_t sent = write(pipe_fds[1], answer.data(), answer.size());
    _exit(sent == static_cast<ssize_t>(answer.size()) ? 0 : 1);
  }
  close(pipe_fds[1]);
  std::string answer;
  char chunk[4096];
  ssize_t got;
  while ((got = read(pipe_fds[0], chunk, sizeof chunk)) > 0) answer.append(chunk, got);
  close(pipe_fds[0]);
  int status = 0;
  waitpid(child, &status, 0);
  if (!WIFEXITED(status)) answer += " (the child ended by signal " + std::to_string(WTERMSIG(status)) + ")";
  return answer;
}

}  // namespace test_support
#endif
