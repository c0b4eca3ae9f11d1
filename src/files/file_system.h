#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace scenario {

/// Outcome of a file operation: ok, or a message naming the file and the
/// system's reason ("cannot write 'x.dat': File too large").
struct IoResult {
  bool ok = true;
  std::string message;

  static IoResult success() { return {}; }
  static IoResult failure(std::string message) { return {false, std::move(message)}; }
};

/// The one seam between the program and the files it reads, replaces and
/// deletes. The compile runs the same code on disk and in memory.
class FileSystem {
 public:
  virtual ~FileSystem() = default;

  virtual bool exists(const std::string& path) = 0;
  /// Reads the whole file into `content`.
  virtual IoResult read(const std::string& path, std::string& content) = 0;
  /// Replaces the file whole and atomically: either the new content, or the
  /// earlier file untouched and no temporary file left.
  virtual IoResult replace(const std::string& path, std::string_view content) = 0;
  virtual IoResult remove(const std::string& path) = 0;
  /// The bare names of the files in `folder` ("" the current one); none when
  /// it is no folder or cannot be listed. Only messages use it.
  virtual std::optional<std::vector<std::string>> list_folder(const std::string& folder) {
    (void)folder;
    return std::nullopt;
  }
  /// The name as the system would spell it in full, for messages.
  virtual std::string full_path(const std::string& path) { return path; }
  /// Makes `folder` with every missing parent; `created` tells whether any
  /// folder was made. A folder that exists already is no failure.
  virtual IoResult make_folder(const std::string& folder, bool& created) {
    (void)folder;
    created = false;
    return IoResult::success();
  }
};

/// The real file system. Replacing writes a temporary file in the same folder
/// with large writes, then renames it over the old name.
class DiskFileSystem final : public FileSystem {
 public:
  bool exists(const std::string& path) override;
  IoResult read(const std::string& path, std::string& content) override;
  IoResult replace(const std::string& path, std::string_view content) override;
  IoResult remove(const std::string& path) override;
  std::optional<std::vector<std::string>> list_folder(const std::string& folder) override;
  std::string full_path(const std::string& path) override;
  IoResult make_folder(const std::string& folder, bool& created) override;
};

}  // namespace scenario
