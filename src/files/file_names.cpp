#include "files/file_names.h"

#include <algorithm>
#include <filesystem>
#include <set>
#include <string_view>

namespace scenario {

#ifdef _WIN32
// Names on Windows are in the narrow code page, which std::filesystem::path
// would read as UTF-8: they are joined and split as plain text. A single
// backslash always goes after the folder, so "C:" (the folder of an
// executable at a drive's root) gives "C:\name".
std::string join_path(const std::string& folder, std::string name) {
  if (folder.empty()) return name;
  const char last = folder.back();
  return last == '\\' || last == '/' ? folder + name : folder + '\\' + name;
}

std::string bare_name(const std::string& path) {
  const std::size_t separator = path.find_last_of("\\/");
  return separator == std::string::npos ? path : path.substr(separator + 1);
}

std::string parent_folder(const std::string& path) {
  const std::size_t separator = path.find_last_of("\\/");
  return separator == std::string::npos ? std::string() : path.substr(0, separator);
}
#else
// What std::filesystem::path's `/` and `filename()` give on POSIX, where "/"
// is the only separator and there are no root names, without parsing the
// path into its parts (a dozen allocations a name: a build joins nine).
std::string join_path(const std::string& folder, std::string name) {
  if (folder.empty() || name.starts_with('/')) return name;
  return folder.back() == '/' ? folder + name : folder + '/' + name;
}

std::string bare_name(const std::string& path) {
  const std::size_t separator = path.rfind('/');
  return separator == std::string::npos ? path : path.substr(separator + 1);
}

std::string parent_folder(const std::string& path) {
  return std::filesystem::path(path).parent_path().string();
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

namespace {

bool ends_with(std::string_view text, std::string_view end) {
  return text.size() >= end.size() && text.substr(text.size() - end.size()) == end;
}

}  // namespace

FolderScenarios scenarios_in(std::vector<std::string> names) {
  constexpr std::string_view kLineEnd = "_linea.txt", kTrainEnd = "-.txt";
  std::sort(names.begin(), names.end());
  std::set<std::string> bases;
  for (const std::string& name : names) {
    if (ends_with(name, kLineEnd) && name.size() > kLineEnd.size()) {
      bases.insert(name.substr(0, name.size() - kLineEnd.size()));
    }
  }
  FolderScenarios found;
  std::set<std::string> with_train;
  for (const std::string& name : names) {
    if (!ends_with(name, kTrainEnd)) continue;
    const std::string stem = name.substr(0, name.size() - kTrainEnd.size());
    // The longest base with a line source that the name starts with; else
    // the name cut at its last underscore.
    std::string base;
    for (std::size_t cut = stem.rfind('_'); cut != std::string::npos && cut > 0;
         cut = stem.rfind('_', cut - 1)) {
      if (bases.count(stem.substr(0, cut)) > 0) {
        base = stem.substr(0, cut);
        break;
      }
    }
    if (base.empty()) {
      const std::size_t cut = stem.rfind('_');
      if (cut == std::string::npos || cut == 0) continue;
      base = stem.substr(0, cut);
    }
    const std::string train = stem.substr(base.size() + 1);
    if (train.empty()) continue;
    found.scenarios.push_back({base, train});
    with_train.insert(base);
  }
  std::sort(found.scenarios.begin(), found.scenarios.end(), [](const auto& a, const auto& b) {
    return a.base_name != b.base_name ? a.base_name < b.base_name : a.train_number < b.train_number;
  });
  for (const std::string& base : bases) {
    if (with_train.count(base) == 0) found.lone_lines.push_back(base);
  }
  return found;
}

}  // namespace scenario
