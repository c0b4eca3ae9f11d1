#include "testing/memory_file_system.h"

#include "files/file_names.h"

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

std::optional<std::vector<std::string>> MemoryFileSystem::list_folder(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& [path, content] : files) {
    const std::string name = bare_name(path);
    if (join_path(folder, name) == path) names.push_back(name);
  }
  if (names.empty()) return std::nullopt;
  return names;
}

}  // namespace scenario
