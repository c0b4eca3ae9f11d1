#pragma once

#include <string>

namespace scenario {

/// The fatal error box: " Errore n. " followed by `number`. The caller ends
/// the program after it without touching any file.
void errore(const std::string& number);

/// The message of the fatal error box.
std::string fatal_message(const std::string& number);

}  // namespace scenario
