#pragma once

#include <string>

#include "view/view_data.h"

namespace scenario {

/// One self-contained HTML page of the scenario: its data, style and script
/// inline, nothing loaded from anywhere else, so it opens offline from disk.
/// In watch mode the page reloads itself every two seconds.
std::string render_view_page(const ViewInput& input);

}  // namespace scenario
