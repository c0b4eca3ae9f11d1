// Preloaded (LD_PRELOAD) into the program by the end-to-end tests to make one
// file operation fail at the system-call boundary, or to kill the program
// there. It stands between the program and the C library's open, openat,
// write, fsync, fdatasync, rename, renameat, unlink and unlinkat, numbering
// the calls from 1. Set through the environment:
//
//   FAULT_LOG=FILE     one line a call: "NUMBER<tab>FUNCTION<tab>FILE<tab>FLAGS",
//                      FILE the path, or for a call on a descriptor the path it
//                      was opened under; for rename, the new name
//   FAULT_FAIL_AT=N    call N fails with FAULT_ERRNO (a number, default EIO)
//                      and is not made
//   FAULT_KILL_AT=N    the program is killed (SIGKILL) at call N, before it
//   FAULT_DELAY_US=U   every call waits U microseconds first
//
// The coverage build's own count files (".gcda") are left alone: neither
// counted nor failed.

#include <dlfcn.h>
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

constexpr int kTrackedDescriptors = 4096;

struct Settings {
  long fail_at = 0;
  long kill_at = 0;
  int error = EIO;
  long delay_us = 0;
  const char* log = nullptr;
};

Settings settings;
long calls = 0;
int log_fd = -1;
bool inside = false;  // the log's own writes pass straight through
char* descriptor_paths[kTrackedDescriptors];
bool ignored_descriptors[kTrackedDescriptors];

template <typename Function>
Function real(const char* name) {
  return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

using OpenFn = int (*)(const char*, int, ...);
using OpenAtFn = int (*)(int, const char*, int, ...);
using WriteFn = ssize_t (*)(int, const void*, size_t);
using SyncFn = int (*)(int);
using RenameFn = int (*)(const char*, const char*);
using RenameAtFn = int (*)(int, const char*, int, const char*);
using UnlinkFn = int (*)(const char*);
using UnlinkAtFn = int (*)(int, const char*, int);

long number_from_environment(const char* name, long fallback) {
  const char* text = std::getenv(name);
  return text != nullptr && *text != '\0' ? std::strtol(text, nullptr, 10) : fallback;
}

__attribute__((constructor)) void read_settings() {
  settings.fail_at = number_from_environment("FAULT_FAIL_AT", 0);
  settings.kill_at = number_from_environment("FAULT_KILL_AT", 0);
  settings.error = static_cast<int>(number_from_environment("FAULT_ERRNO", EIO));
  settings.delay_us = number_from_environment("FAULT_DELAY_US", 0);
  settings.log = std::getenv("FAULT_LOG");
}

bool is_count_file(const char* path) {
  const std::size_t length = path == nullptr ? 0 : std::strlen(path);
  return length >= 5 && std::strcmp(path + length - 5, ".gcda") == 0;
}

const char* path_of(int fd) {
  if (fd < 0 || fd >= kTrackedDescriptors || descriptor_paths[fd] == nullptr) return "?";
  return descriptor_paths[fd];
}

bool ignored(int fd) { return fd >= 0 && fd < kTrackedDescriptors && ignored_descriptors[fd]; }

void remember(int fd, const char* path) {
  if (fd < 0 || fd >= kTrackedDescriptors) return;
  std::free(descriptor_paths[fd]);
  descriptor_paths[fd] = strdup(path);
  ignored_descriptors[fd] = is_count_file(path);
}

void write_log(long number, const char* function, const char* file, int flags) {
  if (settings.log == nullptr) return;
  if (log_fd < 0) {
    log_fd = real<OpenFn>("open")(settings.log, O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    if (log_fd < 0) return;
  }
  char line[8192];
  const int size = std::snprintf(line, sizeof line, "%ld\t%s\t%s\t%d\n", number, function, file, flags);
  if (size > 0) {
    real<WriteFn>("write")(log_fd, line, static_cast<std::size_t>(size) < sizeof line
                                             ? static_cast<std::size_t>(size)
                                             : sizeof line - 1);
  }
}

// Numbers the call, logs it, and says whether it is to fail (errno set).
bool intercept(const char* function, const char* file, int flags) {
  if (inside) return false;
  inside = true;
  const long number = ++calls;
  if (settings.delay_us > 0) usleep(static_cast<useconds_t>(settings.delay_us));
  write_log(number, function, file, flags);
  inside = false;
  if (number == settings.kill_at) kill(getpid(), SIGKILL);
  if (number == settings.fail_at) {
    errno = settings.error;
    return true;
  }
  return false;
}

mode_t mode_argument(int flags, va_list arguments) {
  return (flags & O_CREAT) != 0 || (flags & O_TMPFILE) == O_TMPFILE
             ? static_cast<mode_t>(va_arg(arguments, int))
             : 0;
}

int open_with(const char* function, int dirfd, const char* path, int flags, mode_t mode) {
  if (!is_count_file(path) && intercept(function, path, flags)) return -1;
  const int fd = real<OpenAtFn>("openat")(dirfd, path, flags, mode);
  if (fd >= 0) remember(fd, path);
  return fd;
}

}  // namespace

extern "C" {

int open(const char* path, int flags, ...) {
  va_list arguments;
  va_start(arguments, flags);
  const mode_t mode = mode_argument(flags, arguments);
  va_end(arguments);
  return open_with("open", AT_FDCWD, path, flags, mode);
}

int open64(const char* path, int flags, ...) {
  va_list arguments;
  va_start(arguments, flags);
  const mode_t mode = mode_argument(flags, arguments);
  va_end(arguments);
  return open_with("open", AT_FDCWD, path, flags, mode);
}

int __open_2(const char* path, int flags) { return open_with("open", AT_FDCWD, path, flags, 0); }

int openat(int dirfd, const char* path, int flags, ...) {
  va_list arguments;
  va_start(arguments, flags);
  const mode_t mode = mode_argument(flags, arguments);
  va_end(arguments);
  return open_with("openat", dirfd, path, flags, mode);
}

int openat64(int dirfd, const char* path, int flags, ...) {
  va_list arguments;
  va_start(arguments, flags);
  const mode_t mode = mode_argument(flags, arguments);
  va_end(arguments);
  return open_with("openat", dirfd, path, flags, mode);
}

ssize_t write(int fd, const void* data, size_t size) {
  if (!ignored(fd) && intercept("write", path_of(fd), 0)) return -1;
  return real<WriteFn>("write")(fd, data, size);
}

int fsync(int fd) {
  if (!ignored(fd) && intercept("fsync", path_of(fd), 0)) return -1;
  return real<SyncFn>("fsync")(fd);
}

int fdatasync(int fd) {
  if (!ignored(fd) && intercept("fdatasync", path_of(fd), 0)) return -1;
  return real<SyncFn>("fdatasync")(fd);
}

int rename(const char* from, const char* to) {
  if (!is_count_file(to) && intercept("rename", to, 0)) return -1;
  return real<RenameFn>("rename")(from, to);
}

int renameat(int from_dir, const char* from, int to_dir, const char* to) {
  if (!is_count_file(to) && intercept("renameat", to, 0)) return -1;
  return real<RenameAtFn>("renameat")(from_dir, from, to_dir, to);
}

int unlink(const char* path) {
  if (!is_count_file(path) && intercept("unlink", path, 0)) return -1;
  return real<UnlinkFn>("unlink")(path);
}

int unlinkat(int dirfd, const char* path, int flags) {
  if (!is_count_file(path) && intercept("unlinkat", path, flags)) return -1;
  return real<UnlinkAtFn>("unlinkat")(dirfd, path, flags);
}

}  // extern "C"
