#pragma once

#include <map>
#include <set>
#include <string>
#include <string_view>

#include "files/file_system.h"

namespace scenario {

/// Files held in memory, for tests, fuzzing and benchmarks. Paths named in
/// `failing` make every operation on them fail.
class MemoryFileSystem final : public FileSystem {
 public:
  std::map<std::string, std::string> files;
  std::set<std::string> failing;

  bool exists(const std::string& path) override;
  IoResult read(const std::string& path, std::string& content) override;
  IoResult replace(const std::string& path, std::string_view content) override;
  IoResult remove(const std::string& path) override;
  /// The files whose full name is the folder joined with a bare name. A
  /// folder exists here only while it holds a file: none for an empty one.
  std::optional<std::vector<std::string>> list_folder(const std::string& folder) override;
};

}  // namespace scenario
