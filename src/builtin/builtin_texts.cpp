#include "builtin/builtin_texts.h"

namespace scenario {

// Placeholder body until the built-in scenario is built.
IoResult write_builtin_texts(FileSystem&, const ScenarioFileNames&) {
  return IoResult::failure("the built-in scenario is not available yet");
}

}  // namespace scenario
