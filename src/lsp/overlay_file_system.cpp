#include "lsp/overlay_file_system.h"

#include <algorithm>

#include "files/file_names.h"

namespace scenario {

void OverlayFileSystem::open(const std::string& path, std::string bytes) {
  buffers_[path] = std::move(bytes);
}

void OverlayFileSystem::close(const std::string& path) { buffers_.erase(path); }

bool OverlayFileSystem::exists(const std::string& path) {
  return buffers_.count(path) != 0 || below_.exists(path);
}

IoResult OverlayFileSystem::read(const std::string& path, std::string& content) {
  const auto found = buffers_.find(path);
  if (found == buffers_.end()) return below_.read(path, content);
  content = found->second;
  return IoResult::success();
}

IoResult OverlayFileSystem::replace(const std::string& path, std::string_view) {
  return IoResult::failure("the language server writes no file: '" + path + "' left as it is");
}

IoResult OverlayFileSystem::remove(const std::string& path) {
  return IoResult::failure("the language server deletes no file: '" + path + "' left as it is");
}

std::optional<std::vector<std::string>> OverlayFileSystem::list_folder(const std::string& folder) {
  std::optional<std::vector<std::string>> names = below_.list_folder(folder);
  for (const auto& [path, bytes] : buffers_) {
    const std::string name = bare_name(path);
    if (join_path(folder, name) != path) continue;
    if (!names) names.emplace();
    if (std::find(names->begin(), names->end(), name) == names->end()) names->push_back(name);
  }
  if (names) std::sort(names->begin(), names->end());
  return names;
}

}  // namespace scenario
