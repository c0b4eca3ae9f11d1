#include "app/file_names.h"

#include <filesystem>

namespace scenario {

std::string join_path(const std::string& folder, const std::string& name) {
  if (folder.empty()) return name;
  return (std::filesystem::path(folder) / name).string();
}

std::string bare_name(const std::string& path) {
  return std::filesystem::path(path).filename().string();
}

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
