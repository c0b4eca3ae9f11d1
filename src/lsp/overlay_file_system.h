#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "files/file_system.h"

namespace scenario {

/// The sources as an editor has them: the texts of its open buffers over
/// the files below (the disk). Reading a path that is open gives the
/// buffer's bytes; any other path is read below. It writes and deletes
/// nothing, neither buffer nor file: the editor saves its buffers itself.
class OverlayFileSystem final : public FileSystem {
 public:
  explicit OverlayFileSystem(FileSystem& below) : below_(below) {}

  /// Holds `bytes` as the content of `path` until `close` (or a later `open`).
  void open(const std::string& path, std::string bytes);
  void close(const std::string& path);
  bool is_open(const std::string& path) const { return buffers_.count(path) != 0; }

  bool exists(const std::string& path) override;
  IoResult read(const std::string& path, std::string& content) override;
  IoResult replace(const std::string& path, std::string_view content) override;
  IoResult remove(const std::string& path) override;
  /// The folder's files below, with the open buffers of that folder added.
  std::optional<std::vector<std::string>> list_folder(const std::string& folder) override;
  std::string full_path(const std::string& path) override { return below_.full_path(path); }

 private:
  FileSystem& below_;
  std::map<std::string, std::string> buffers_;
};

}  // namespace scenario
