#include "app/version.h"

namespace scenario {

std::string version_text() {
  std::string text = "scenario-compiler ";
  text += SCENARIO_COMPILER_VERSION;
  text += " (commit ";
  text += build_commit();
  text += ")";
  return text;
}

}  // namespace scenario
