#include "testing/memory_file_system.h"

namespace scenario {

bool MemoryFileSystem::exists(const std::string& path) {
  return files.count(path) != 0;
}

IoResult MemoryFileSystem::read(const std::string& path, std::string& content) {
  auto found = files.find(path);
  if (found == files.end() || failing.count(path) != 0) {
    return IoResult::failure("cannot read '" + path + "': No such file or directory");
  }
  content = found->second;
  return IoResult::success();
}

IoResult MemoryFileSystem::replace(const std::string& path, std::string_view content) {
  if (failing.count(path) != 0) {
    return IoResult::failure("cannot write '" + path + "': Input/output error");
  }
  files[path] = std::string(content);
  return IoResult::success();
}

IoResult MemoryFileSystem::remove(const std::string& path) {
  if (failing.count(path) != 0 || files.erase(path) == 0) {
    return IoResult::failure("cannot delete '" + path + "': No such file or directory");
  }
  return IoResult::success();
}

}  // namespace scenario
