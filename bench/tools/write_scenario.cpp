// Writes the representative line and train sources of the benchmarks into a
// folder, for measuring the whole program on them:
//   write_scenario DIR LENGTH [BASE] [TRAIN]

#include <cstdlib>
#include <iostream>

#include "files/file_names.h"
#include "files/file_system.h"
#include "representative_scenario.h"

int main(int argc, char** argv) {
  if (argc < 3) {
    std::cerr << "usage: write_scenario DIR LENGTH [BASE] [TRAIN]\n";
    return 64;
  }
  const std::int32_t length = std::atoi(argv[2]);
  const scenario::ScenarioFileNames names = scenario::scenario_file_names(
      argv[1], argc > 3 ? argv[3] : "Orvale_Varcona", argc > 4 ? argv[4] : "593");
  scenario::DiskFileSystem disk;
  for (const auto& [path, text] :
       {std::pair{names.line_source, scenario::bench::representative_line_source(length)},
        std::pair{names.train_source, scenario::bench::representative_train_source(length)}}) {
    if (auto result = disk.replace(path, text); !result.ok) {
      std::cerr << result.message << "\n";
      return 3;
    }
  }
  return 0;
}
