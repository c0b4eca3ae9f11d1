#include "files/file_names.h"

#include <filesystem>

namespace scenario {

#ifdef _WIN32
// Names on Windows are in the narrow code page, which std::filesystem::path
// would read as UTF-8: they are joined and split as plain text. A single
// backslash always goes after the folder, so "C:" (the folder of an
// executable at a drive's root) gives "C:\name".
std::string join_path(const std::string& folder, const std::string& name) {
  if (folder.empty()) return name;
  const char last = folder.back();
  return last == '\\' || last == '/' ? folder + name : folder + '\\' + name;
}

std::string bare_name(const std::string& path) {
  const std::size_t separator = path.find_last_of("\\/");
  return separator == std::string::npos ? path : path.substr(separator + 1);
}
#else
std::string join_path(const std::string& folder, const std::string& name) {
  if (folder.empty()) return name;
  return (std::filesystem::path(folder) / name).string();
}

std::string bare_name(const std::string& path) {
  return std::filesystem::path(path).filename().string();
}
#endif

ScenarioFileNames scenario_file_names(const std::string& folder, const std::string& base_name,
                                      const std::string& train_number) {
  const std::string scenario = base_name + "_" + train_number;
  return {
      join_path(folder, base_name + "_linea.txt"),
      join_path(folder, scenario + "-.txt"),
      join_path(folder, scenario + "_scheda_treno.txt"),
      join_path(folder, scenario + "_rallentamenti.txt"),
      join_path(folder, scenario + "_note.txt"),
      join_path(folder, base_name + "_linea.dat"),
      join_path(folder, scenario + ".sim"),
      join_path(folder, scenario + ".dat"),
  };
}

}  // namespace scenario
