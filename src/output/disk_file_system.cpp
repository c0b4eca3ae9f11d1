#include <cerrno>
#include <cstdio>
#include <cstring>
#include <algorithm>
#include <sys/stat.h>

#include "output/file_system.h"

#ifdef _WIN32
#include <process.h>
#include <windows.h>
#define getpid _getpid
#else
#include <unistd.h>
#endif

namespace scenario {
namespace {

std::string reason(int error) { return std::strerror(error); }

IoResult failure(const char* what, const std::string& path, int error) {
  return IoResult::failure(std::string("cannot ") + what + " '" + path + "': " + reason(error));
}

// A name beside the target that no other writer uses: the same folder keeps
// the final rename atomic.
std::string temporary_name(const std::string& path) {
  static unsigned counter = 0;
  return path + ".tmp." + std::to_string(getpid()) + "." + std::to_string(++counter);
}

// Puts the finished temporary file in the target's place in one step; 0 on
// success, else the errno-style reason.
int rename_over(const std::string& temporary, const std::string& path) {
#ifdef _WIN32
  // Windows' rename refuses an existing target: the move replaces it, and
  // returns once the file system has the new name on disk.
  if (MoveFileExA(temporary.c_str(), path.c_str(),
                  MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    return 0;
  }
  switch (GetLastError()) {
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
      return EACCES;
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
      return ENOENT;
    case ERROR_DISK_FULL:
      return ENOSPC;
    default:
      return EIO;
  }
#else
  return std::rename(temporary.c_str(), path.c_str()) != 0 ? errno : 0;
#endif
}

}  // namespace

bool DiskFileSystem::exists(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && !S_ISDIR(info.st_mode);
}

IoResult DiskFileSystem::read(const std::string& path, std::string& content) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return failure("read", path, errno);
  content.clear();
  char buffer[1 << 16];
  std::size_t got = 0;
  while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) content.append(buffer, got);
  const int error = std::ferror(file) ? errno : 0;
  std::fclose(file);
  if (error != 0) return failure("read", path, error);
  return IoResult::success();
}

IoResult DiskFileSystem::replace(const std::string& path, std::string_view content) {
  const std::string temporary = temporary_name(path);
  std::FILE* file = std::fopen(temporary.c_str(), "wb");
  if (file == nullptr) return failure("write", path, errno);
  std::size_t written = 0;
  while (written < content.size()) {
    const std::size_t chunk = std::min<std::size_t>(content.size() - written, 1 << 20);
    const std::size_t put = std::fwrite(content.data() + written, 1, chunk, file);
    if (put != chunk) break;
    written += put;
  }
  int error = 0;
  if (written != content.size()) error = errno != 0 ? errno : EIO;
  if (std::fflush(file) != 0 && error == 0) error = errno;
  if (std::fclose(file) != 0 && error == 0) error = errno;
  if (error == 0) error = rename_over(temporary, path);
  if (error != 0) {
    std::remove(temporary.c_str());
    return failure("write", path, error);
  }
  return IoResult::success();
}

IoResult DiskFileSystem::remove(const std::string& path) {
  if (std::remove(path.c_str()) != 0) return failure("delete", path, errno);
  return IoResult::success();
}

}  // namespace scenario
