#pragma once

#include <string>
#include <vector>

namespace scenario {

/// Full names of the eight files of a run, composed from the folder, the base
/// name and the train number.
struct ScenarioFileNames {
  std::string line_source;    // base_linea.txt
  std::string train_source;   // base_train-.txt
  std::string timetable;      // base_train_scheda_treno.txt
  std::string slow_orders;    // base_train_rallentamenti.txt
  std::string notes;          // base_train_note.txt
  std::string plan_geometry;  // base_linea.dat
  std::string record_table;   // base_train.sim
  std::string cell_grid;      // base_train.dat
};

ScenarioFileNames scenario_file_names(const std::string& folder, const std::string& base_name,
                                      const std::string& train_number);

/// The folder and a bare file name joined with the platform's separator; an
/// empty folder means the current one.
std::string join_path(const std::string& folder, std::string name);

/// The bare file name of a full name.
std::string bare_name(const std::string& path);

/// The scenarios of a folder's listing, in name order: each line source
/// (BASE_linea.txt) with each train source (BASE_NUMBER-.txt) of its base
/// name; a train source whose base has no line source stands alone. A train
/// source that two bases could claim goes with the longer one.
struct FolderScenarios {
  struct Scenario {
    std::string base_name;
    std::string train_number;
    bool operator==(const Scenario&) const = default;
  };
  std::vector<Scenario> scenarios;
  std::vector<std::string> lone_lines;  // bases of line sources without a train source
};
FolderScenarios scenarios_in(std::vector<std::string> names);

/// The folder part of a full name; "" for a bare name.
std::string parent_folder(const std::string& path);

}  // namespace scenario
