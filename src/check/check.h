#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "files/file_system.h"
#include "model/build_context.h"
#include "model/diagnostic.h"

namespace scenario {

/// Every finding of one `check` run over the two sources of a folder.
struct CheckResult {
  std::vector<Diagnostic> diagnostics;  // line source first, in source order
  BuildStatus compile_status;           // the status `compile` sets for the same sources
  std::optional<std::int32_t> compile_fatal;  // its fatal stamping error (1250 or 1251), if any
  std::optional<std::string> file_error;  // a source that exists but could not be read
  std::int32_t grid_last_index = -1;      // of the grid the sources were read over; -1: none
};

/// What a reading that goes on after every error found, before the
/// compile's status is placed among its findings.
struct CheckReading {
  std::vector<Diagnostic> diagnostics;
  std::optional<Diagnostic> fatal_finding;  // names the entry on cell 1
  std::optional<std::int32_t> fatal;
  BuildStatus status;
  std::optional<std::string> file_error;
  std::int32_t grid_last_index = -1;
  std::string line_file;   // the bare names of the sources read, for their order
  std::string train_file;
};

/// The first half of `check_sources`: both sources read as `compile` reads
/// them, going on after every error; `geometry_points` as there.
CheckReading read_going_on(FileSystem& files, const BuildOptions& options,
                           bool geometry_points = false);

/// The second half: the compile's status found (from `reading` when it
/// holds no error, else from a compile's own reading) and placed among the
/// findings, which are put in source order.
CheckResult check_sources(FileSystem& files, const BuildOptions& options, CheckReading reading);

/// Reads both sources of `options`' folder, base name and train number as
/// `compile` reads them, going on after every error, and gathers every
/// error, warning and note. Writes, replaces and deletes no file. The curves
/// are read and walked, but no metre of the plan geometry is computed unless
/// `geometry_points` asks for it: no finding depends on those points. (The
/// compile's own reading, run when the sources hold an error to learn its
/// status, never computes them: a status depends on them no more.)
CheckResult check_sources(FileSystem& files, const BuildOptions& options,
                          bool geometry_points = false);

/// The error of a fatal stamping error (1250 or 1251) of the build in
/// `context`, naming the entry whose object holds the reserved place.
Diagnostic fatal_diagnostic(const BuildContext& context, std::int32_t number);

}  // namespace scenario
