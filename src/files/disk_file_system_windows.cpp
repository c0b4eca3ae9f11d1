// The Windows side of the disk file system; names are in the system's narrow
// code page, as the program composes them.
#ifdef _WIN32

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "files/file_system.h"
#include "files/temporary_names.h"

namespace scenario {
namespace {

// The system's own words for `error`, without the trailing period and line end.
std::string reason(DWORD error) {
  char* text = nullptr;
  const DWORD size = FormatMessageA(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, error, 0, reinterpret_cast<char*>(&text), 0, nullptr);
  std::string result = size > 0 && text != nullptr ? std::string(text, size)
                                                   : "error " + std::to_string(error);
  if (text != nullptr) LocalFree(text);
  while (!result.empty() && (result.back() == '\n' || result.back() == '\r' ||
                             result.back() == '.' || result.back() == ' ')) {
    result.pop_back();
  }
  return result;
}

IoResult failure(const char* what, const std::string& path, DWORD error) {
  return IoResult::failure(std::string("cannot ") + what + " '" + path + "': " + reason(error));
}

// Writes everything; 0 or the system's error.
DWORD write_all(HANDLE file, std::string_view content) {
  while (!content.empty()) {
    const DWORD chunk = content.size() > (1u << 30) ? (1u << 30) : static_cast<DWORD>(content.size());
    DWORD put = 0;
    if (!WriteFile(file, content.data(), chunk, &put, nullptr)) return GetLastError();
    if (put == 0) return ERROR_WRITE_FAULT;
    content.remove_prefix(put);
  }
  return 0;
}

std::uint64_t as_number(const FILETIME& time) {
  return static_cast<std::uint64_t>(time.dwHighDateTime) << 32 | time.dwLowDateTime;
}

// The creation time of this process, in 100 ns steps since 1601.
std::optional<std::uint64_t> start_time_of(HANDLE process) {
  FILETIME creation{}, exit{}, kernel{}, user{};
  if (!GetProcessTimes(process, &creation, &exit, &kernel, &user)) return std::nullopt;
  return as_number(creation);
}

TemporaryOwner this_process() {
  return {GetCurrentProcessId(), start_time_of(GetCurrentProcess())};
}

// A new temporary file beside `path` (same folder, so the move is atomic),
// under a name nothing else holds: CREATE_NEW never opens an existing file.
HANDLE create_temporary(const std::string& path, std::string& temporary) {
  const TemporaryOwner owner = this_process();
  for (unsigned attempt = 0;; ++attempt) {
    temporary = temporary_name(path, owner, attempt);
    HANDLE file = CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE || GetLastError() != ERROR_FILE_EXISTS || attempt == 1000) {
      return file;
    }
  }
}

// Whether the process that made a temporary file has ended, going by the id
// and the creation time in the file's name. A process that cannot be asked
// (another user's) is taken to be running.
bool owner_has_ended(const TemporaryOwner& owner) {
  if (owner.process_id > 0xFFFFFFFFu) return false;
  HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE,
                               static_cast<DWORD>(owner.process_id));
  if (process == nullptr) return GetLastError() == ERROR_INVALID_PARAMETER;  // no such id
  DWORD exit_code = 0;
  const bool running = !GetExitCodeProcess(process, &exit_code) || exit_code == STILL_ACTIVE;
  const std::optional<std::uint64_t> start = running ? start_time_of(process) : std::nullopt;
  CloseHandle(process);
  return temporary_is_stale(owner, running, start);
}

// Deletes the temporary files for `path` that runs killed before their move
// left in the folder. A file whose maker still runs is another run's work in
// progress and stays; so does one that cannot be deleted.
void remove_stale_temporaries(const std::string& path) {
  const std::size_t separator = path.find_last_of("\\/");
  const std::string folder = separator == std::string::npos ? "" : path.substr(0, separator + 1);
  const std::string target = path.substr(folder.size());
  WIN32_FIND_DATAA entry{};
  HANDLE listing = FindFirstFileA((path + ".tmp.*").c_str(), &entry);
  if (listing == INVALID_HANDLE_VALUE) return;
  do {
    const auto owner = temporary_owner(entry.cFileName, target);
    if (owner && owner_has_ended(*owner)) DeleteFileA((folder + entry.cFileName).c_str());
  } while (FindNextFileA(listing, &entry));
  FindClose(listing);
}

// The new content goes to a temporary file that is flushed and moved over the
// old name; Windows' rename refuses an existing target, the move replaces it
// and returns once the new name is on disk. Either the new file is in place
// whole, or the old one is untouched and the temporary file is gone.
IoResult replace_regular(const std::string& path, std::string_view content) {
  std::string temporary;
  HANDLE file = create_temporary(path, temporary);
  if (file == INVALID_HANDLE_VALUE) return failure("write", path, GetLastError());
  remove_stale_temporaries(path);
  const char* step = "write";
  DWORD error = write_all(file, content);
  if (error == 0 && !FlushFileBuffers(file)) {
    error = GetLastError();
    step = "sync";
  }
  if (!CloseHandle(file) && error == 0) error = GetLastError();
  if (error == 0 && !MoveFileExA(temporary.c_str(), path.c_str(),
                                 MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    error = GetLastError();
    step = "rename the temporary file to";
  }
  if (error != 0) {
    DeleteFileA(temporary.c_str());
    return failure(step, path, error);
  }
  return IoResult::success();
}

// A device (NUL, CON, a pipe) is written as it is: a file moved over its name
// would fail or put a plain file in its place.
bool write_to_device(const std::string& path, std::string_view content, IoResult& result) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                            nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  if (GetFileType(file) == FILE_TYPE_DISK) {
    CloseHandle(file);
    return false;
  }
  DWORD error = write_all(file, content);
  if (!CloseHandle(file) && error == 0) error = GetLastError();
  result = error == 0 ? IoResult::success() : failure("write", path, error);
  return true;
}

}  // namespace

bool DiskFileSystem::exists(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

IoResult DiskFileSystem::read(const std::string& path, std::string& content) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return failure("read", path, GetLastError());
  content.clear();
  LARGE_INTEGER size{};
  if (GetFileSizeEx(file, &size) && size.QuadPart > 0) {
    content.reserve(static_cast<std::size_t>(size.QuadPart));
  }
  char buffer[1 << 16];
  DWORD error = 0;
  for (;;) {
    DWORD got = 0;
    if (!ReadFile(file, buffer, sizeof buffer, &got, nullptr)) {
      error = GetLastError();
      if (error == ERROR_BROKEN_PIPE) error = 0;  // the writer of a pipe is done
      break;
    }
    if (got == 0) break;
    content.append(buffer, got);
  }
  CloseHandle(file);
  if (error != 0) return failure("read", path, error);
  return IoResult::success();
}

IoResult DiskFileSystem::replace(const std::string& path, std::string_view content) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    return IoResult::failure("cannot write '" + path + "': it is a folder");
  }
  IoResult result;
  if (attributes == INVALID_FILE_ATTRIBUTES || !write_to_device(path, content, result)) {
    return replace_regular(path, content);
  }
  return result;
}

IoResult DiskFileSystem::remove(const std::string& path) {
  if (!DeleteFileA(path.c_str())) return failure("delete", path, GetLastError());
  return IoResult::success();
}

std::optional<std::vector<std::string>> DiskFileSystem::list_folder(const std::string& folder) {
  std::string pattern = folder.empty() ? std::string(".") : folder;
  while (pattern.size() > 1 && (pattern.back() == '\\' || pattern.back() == '/')) pattern.pop_back();
  pattern += "\\*";
  WIN32_FIND_DATAA entry;
  const HANDLE find = FindFirstFileA(pattern.c_str(), &entry);
  if (find == INVALID_HANDLE_VALUE) {
    // An empty folder still holds "." and ".."; only a missing one fails.
    return std::nullopt;
  }
  std::vector<std::string> names;
  do {
    if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) names.push_back(entry.cFileName);
  } while (FindNextFileA(find, &entry));
  FindClose(find);
  return names;
}

std::string DiskFileSystem::full_path(const std::string& path) {
  const DWORD size = GetFullPathNameA(path.c_str(), 0, nullptr, nullptr);
  if (size == 0) return path;
  std::string full(size, '\0');
  const DWORD written = GetFullPathNameA(path.c_str(), size, full.data(), nullptr);
  if (written == 0 || written >= size) return path;
  full.resize(written);
  return full;
}

IoResult DiskFileSystem::make_folder(const std::string& folder, bool& created) {
  created = false;
  // Each prefix that ends before a separator, then the whole name; a drive
  // ("C:") and a share's root are there already.
  for (std::size_t end = 0; end != std::string::npos;) {
    end = folder.find_first_of("\\/", end + 1);
    const std::string prefix = folder.substr(0, end);
    if (prefix.empty() || prefix.back() == ':') continue;
    const DWORD attributes = GetFileAttributesA(prefix.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) continue;
    if (!CreateDirectoryA(prefix.c_str(), nullptr)) {
      const DWORD error = GetLastError();
      if (error != ERROR_ALREADY_EXISTS) return failure("create the folder", folder, error);
    } else {
      created = true;
    }
  }
  return IoResult::success();
}

}  // namespace scenario

#endif  // _WIN32
