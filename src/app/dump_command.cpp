#include <iostream>

#include "app/commands.h"

namespace scenario {

// Placeholder until the dump of the scenario files is built.
int run_dump(const std::string&, bool) {
  std::cerr << "scenario-compiler: the dump command is not available yet" << std::endl;
  return exit_status::kFileError;
}

}  // namespace scenario
