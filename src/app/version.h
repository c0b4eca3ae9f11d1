#pragma once

#include <string>
#include <string_view>

namespace scenario {

/// The commit the program was built from: a git hash, "-dirty" appended when
/// the checkout had changes, or "unknown" when built outside a git checkout.
std::string_view build_commit();

/// What --version prints: "scenario-compiler 1.2.3 (commit 0123abcd4567)".
std::string version_text();

}  // namespace scenario
