// The POSIX side of the disk file system; disk_file_system_windows.cpp is the
// Windows side.
#ifndef _WIN32

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include "files/file_system.h"

namespace scenario {
namespace {

IoResult failure(const char* what, const std::string& path, int error) {
  return IoResult::failure(std::string("cannot ") + what + " '" + path + "': " +
                           std::strerror(error));
}

int write_all(int fd, std::string_view content) {
  while (!content.empty()) {
    const ssize_t put = ::write(fd, content.data(), content.size());
    if (put < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    if (put == 0) return EIO;
    content.remove_prefix(static_cast<std::size_t>(put));
  }
  return 0;
}

// Creates a new temporary file beside `path` (same folder, so the rename is
// atomic) under a name nothing else holds: O_EXCL never opens an existing file
// or follows a link planted under that name.
int create_temporary(const std::string& path, std::string& temporary) {
  for (unsigned attempt = 0;; ++attempt) {
    temporary = path + ".tmp." + std::to_string(::getpid()) + "." + std::to_string(attempt);
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST || attempt == 1000) return fd;
  }
}

// Makes the rename itself durable; a failure here changes nothing the user
// sees (the new file is in place), so it is not reported.
void sync_folder(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  const std::string folder = slash == std::string::npos ? std::string(".") : path.substr(0, slash + 1);
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

// The new content goes to a temporary file that is synced and renamed over
// the old name: either the new file is in place whole, or the old one is
// untouched and the temporary file is gone. `shown` is the name for messages.
IoResult replace_regular(const std::string& path, std::string_view content,
                         const std::string& shown) {
  std::string temporary;
  const int fd = create_temporary(path, temporary);
  if (fd < 0) return failure("write", shown, errno);
  // The new file keeps the permissions the old one had.
  struct stat old_file {};
  int error = 0;
  if (::stat(path.c_str(), &old_file) == 0 && ::fchmod(fd, old_file.st_mode & 07777) != 0) {
    error = errno;
  }
  if (error == 0) error = write_all(fd, content);
  if (error == 0 && ::fsync(fd) != 0) error = errno;
  if (::close(fd) != 0 && error == 0) error = errno;
  if (error == 0 && std::rename(temporary.c_str(), path.c_str()) != 0) error = errno;
  if (error != 0) {
    ::unlink(temporary.c_str());
    return failure("write", shown, error);
  }
  sync_folder(path);
  return IoResult::success();
}

// A device or a pipe (a report sent to /dev/stdout, say) is written as it is:
// renaming a file over it would put a plain file in its place.
IoResult write_in_place(const std::string& path, std::string_view content) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
  if (fd < 0) return failure("write", path, errno);
  int error = write_all(fd, content);
  if (::close(fd) != 0 && error == 0) error = errno;
  if (error != 0) return failure("write", path, error);
  return IoResult::success();
}

}  // namespace

bool DiskFileSystem::exists(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && !S_ISDIR(info.st_mode);
}

IoResult DiskFileSystem::read(const std::string& path, std::string& content) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return failure("read", path, errno);
  content.clear();
  struct stat info {};
  if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_size > 0) {
    content.reserve(static_cast<std::size_t>(info.st_size));
  }
  char buffer[1 << 16];
  int error = 0;
  for (;;) {
    const ssize_t got = ::read(fd, buffer, sizeof buffer);
    if (got > 0) {
      content.append(buffer, static_cast<std::size_t>(got));
    } else if (got == 0) {
      break;
    } else if (errno != EINTR) {
      error = errno;
      break;
    }
  }
  ::close(fd);
  if (error != 0) return failure("read", path, error);
  return IoResult::success();
}

IoResult DiskFileSystem::replace(const std::string& path, std::string_view content) {
  struct stat entry {};
  if (::lstat(path.c_str(), &entry) != 0 || S_ISREG(entry.st_mode)) {
    return replace_regular(path, content, path);
  }
  if (S_ISDIR(entry.st_mode)) return failure("write", path, EISDIR);
  struct stat target {};
  if (S_ISLNK(entry.st_mode) && ::stat(path.c_str(), &target) == 0 && S_ISREG(target.st_mode)) {
    // A link to a file: the file it names is replaced and the link stays.
    std::error_code error;
    const std::filesystem::path file = std::filesystem::canonical(path, error);
    if (!error) return replace_regular(file.string(), content, path);
  }
  return write_in_place(path, content);
}

IoResult DiskFileSystem::remove(const std::string& path) {
  if (::unlink(path.c_str()) != 0) return failure("delete", path, errno);
  return IoResult::success();
}

std::optional<std::vector<std::string>> DiskFileSystem::list_folder(const std::string& folder) {
  std::error_code error;
  std::filesystem::directory_iterator entries(folder.empty() ? "." : folder, error);
  if (error) return std::nullopt;
  std::vector<std::string> names;
  for (const auto& entry : entries) {
    if (entry.is_regular_file(error)) names.push_back(entry.path().filename().string());
  }
  return names;
}

std::string DiskFileSystem::full_path(const std::string& path) {
  std::error_code error;
  const std::filesystem::path full = std::filesystem::absolute(path, error);
  return error ? path : full.lexically_normal().string();
}

}  // namespace scenario

#endif  // _WIN32
