#pragma once

namespace scenario {

/// The page's style and script, embedded at build time from page.css and
/// page.js beside this file.
extern const char* const kPageStyle;
extern const char* const kPageScript;

}  // namespace scenario
