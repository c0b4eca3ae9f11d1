#pragma once

#include "language/language.h"

namespace scenario {

/// `lsp`: the language server on standard input and output until "exit".
int run_lsp(const char* argv0, Language language);

}  // namespace scenario
