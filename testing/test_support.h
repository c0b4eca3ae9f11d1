#pragma once

// Shared helpers for tests that run the readers and the compile in memory.

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

#include "model/build_context.h"
#include "files/file_names.h"
#include "testing/memory_file_system.h"

namespace scenario::test {

/// 64-bit FNV-1a of bytes: the digest that pins a file or text.
inline std::uint64_t digest(std::string_view bytes) {
  std::uint64_t hash = 0xcbf29ce484222325u;
  for (const char c : bytes) {
    hash ^= static_cast<unsigned char>(c);
    hash *= 0x100000001b3u;
  }
  return hash;
}

/// The lines joined as the sources are written: every line ended by CR LF.
inline std::string crlf_lines(std::initializer_list<std::string_view> lines) {
  std::string text;
  for (std::string_view line : lines) {
    text += line;
    text += "\r\n";
  }
  return text;
}

/// The default options of a run in `folder`.
inline BuildOptions options_in(std::string folder) {
  return options_for(std::move(folder), kDefaultBaseName, kDefaultTrainNumber, true);
}

/// A build context over files held in memory, in the folder "scenarios", with
/// the default base name and train number. Sources given are put in place.
struct MemoryBuild {
  MemoryFileSystem files;
  BuildContext context{files, options_in("scenarios")};
  const ScenarioFileNames& names = context.names;

  explicit MemoryBuild(std::optional<std::string> line_source = std::nullopt,
                       std::optional<std::string> train_source = std::nullopt) {
    if (line_source) files.files[names.line_source] = *line_source;
    if (train_source) files.files[names.train_source] = *train_source;
  }
  MemoryBuild(const MemoryBuild&) = delete;
  MemoryBuild& operator=(const MemoryBuild&) = delete;

  bool has(const std::string& path) const { return files.files.count(path) != 0; }
  bool has_line_source() const { return has(names.line_source); }
  bool has_train_source() const { return has(names.train_source); }
};

}  // namespace scenario::test
