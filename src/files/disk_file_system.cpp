// The POSIX side of the disk file system; disk_file_system_windows.cpp is the
// Windows side.
#ifndef _WIN32

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>

#include "files/file_system.h"
#include "files/temporary_names.h"

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

// The start time of process `id` in clock ticks since boot (the 22nd field
// of /proc/PID/stat), none where it cannot be read.
std::optional<std::uint64_t> process_start_time(pid_t id) {
  const std::string stat_path = "/proc/" + std::to_string(id) + "/stat";
  std::FILE* file = std::fopen(stat_path.c_str(), "re");
  if (file == nullptr) return std::nullopt;
  char buffer[1024];
  const std::size_t got = std::fread(buffer, 1, sizeof buffer - 1, file);
  std::fclose(file);
  const std::string_view stat(buffer, got);
  // The command name in parentheses may hold blanks and parentheses itself.
  const std::size_t name_end = stat.rfind(')');
  if (name_end == std::string_view::npos) return std::nullopt;
  std::string_view rest = stat.substr(name_end + 1);
  for (int field = 2; field < 22; ++field) {
    const std::size_t blank = rest.find(' ');
    if (blank == std::string_view::npos) return std::nullopt;
    rest.remove_prefix(blank + 1);
  }
  std::uint64_t ticks = 0;
  const auto [end, error] = std::from_chars(rest.data(), rest.data() + rest.size(), ticks);
  if (error != std::errc() || end == rest.data()) return std::nullopt;
  return ticks;
}

TemporaryOwner this_process() {
  const pid_t id = ::getpid();
  return {static_cast<std::uint64_t>(id), process_start_time(id)};
}

// The folder of `path` with its trailing separator, to which a bare name in
// it can be appended.
std::string folder_of(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string("./") : path.substr(0, slash + 1);
}

// Creates a new temporary file beside `path` (same folder, so the rename is
// atomic) under a name nothing else holds: O_EXCL never opens an existing file
// or follows a link planted under that name.
int create_temporary(const std::string& path, std::string& temporary) {
  const TemporaryOwner owner = this_process();
  for (unsigned attempt = 0;; ++attempt) {
    temporary = temporary_name(path, owner, attempt);
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST || attempt == 1000) return fd;
  }
}

// Deletes the temporary files for `path` that runs killed before their
// rename left in the folder. A file whose maker still runs is another run's
// work in progress and stays; so does one that cannot be deleted.
void remove_stale_temporaries(int folder_fd, const std::string& path) {
  const int listing_fd = ::dup(folder_fd);
  if (listing_fd < 0) return;
  DIR* listing = ::fdopendir(listing_fd);
  if (listing == nullptr) {
    ::close(listing_fd);
    return;
  }
  const std::string folder = folder_of(path);
  const std::string target = path.substr(path.rfind('/') + 1);
  while (const dirent* entry = ::readdir(listing)) {
    const auto owner = temporary_owner(entry->d_name, target);
    if (!owner || owner->process_id > static_cast<std::uint64_t>(INT_MAX)) continue;
    const pid_t id = static_cast<pid_t>(owner->process_id);
    const bool running = ::kill(id, 0) == 0 || errno == EPERM;
    if (temporary_is_stale(*owner, running, running ? process_start_time(id) : std::nullopt)) {
      ::unlink((folder + entry->d_name).c_str());
    }
  }
  ::closedir(listing);
}

// The new content goes to a temporary file that is synced and renamed over
// the old name, and the folder is synced so that the rename lasts: either the
// new file is in place whole, or the old one is untouched and the temporary
// file is gone. Each failure names its step. `shown` is the name for messages.
IoResult replace_regular(const std::string& path, std::string_view content,
                         const std::string& shown) {
  std::string temporary;
  const int fd = create_temporary(path, temporary);
  if (fd < 0) return failure("write", shown, errno);
  // A folder that may not be read (write and search access only) can be
  // neither cleared of stale files nor synced; the file is replaced all the same.
  int folder_fd = ::open(folder_of(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  const char* step = "open the folder of";
  int error = 0;
  if (folder_fd < 0 && errno != EACCES && errno != EPERM) error = errno;
  if (error == 0 && folder_fd >= 0) remove_stale_temporaries(folder_fd, path);
  // The new file keeps the permissions the old one had.
  struct stat old_file {};
  if (error == 0 && ::stat(path.c_str(), &old_file) == 0 &&
      ::fchmod(fd, old_file.st_mode & 07777) != 0) {
    error = errno;
    step = "set the permissions of";
  }
  if (error == 0 && (error = write_all(fd, content)) != 0) step = "write";
  if (error == 0 && ::fsync(fd) != 0) {
    error = errno;
    step = "sync";
  }
  if (::close(fd) != 0 && error == 0) {
    error = errno;
    step = "write";
  }
  if (error == 0 && std::rename(temporary.c_str(), path.c_str()) != 0) {
    error = errno;
    step = "rename the temporary file to";
  }
  if (error != 0) {
    ::unlink(temporary.c_str());
    if (folder_fd >= 0) ::close(folder_fd);
    return failure(step, shown, error);
  }
  // The new file is in place; a folder that cannot be synced may still lose
  // the rename to a crash, which the user is told. A file system that has no
  // way to sync a folder says EINVAL.
  if (folder_fd >= 0) {
    if (::fsync(folder_fd) != 0 && errno != EINVAL) error = errno;
    ::close(folder_fd);
    if (error != 0) return failure("sync the folder of", shown, error);
  }
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

IoResult DiskFileSystem::make_folder(const std::string& folder, bool& created) {
  created = false;
  if (folder.empty()) return IoResult::success();
  std::error_code error;
  created = std::filesystem::create_directories(folder, error);
  if (error) return failure("create the folder", folder, error.value());
  return IoResult::success();
}

}  // namespace scenario

#endif  // _WIN32
