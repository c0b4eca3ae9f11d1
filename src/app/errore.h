#pragma once

#include <string>

#include "app/build_context.h"

namespace scenario {

/// The fatal error box: " Errore n. " followed by `number`. The caller ends
/// the program after it without touching any file.
void errore(BuildContext& context, const std::string& number);

/// The message of the fatal error box.
std::string fatal_message(const std::string& number);

}  // namespace scenario
