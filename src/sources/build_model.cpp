#include "sources/build_model.h"

#include <string>
#include <vector>

#include "model/code_reduction.h"
#include "model/stamps.h"
#include "sources/memorizza_dati.h"
#include "sources/source_text.h"

namespace scenario {
namespace {

// The restriction whose board the pass was working for.
const RestrictionOrigin* restriction_at(const BuildState& state, const ReductionFailure& failure) {
  for (auto it = state.restrictions.rbegin(); it != state.restrictions.rend(); ++it) {
    const std::int32_t board =
        failure.code == status::kNoRoomBeforeSignal ? it->warning_cell : it->start_cell;
    if (board == failure.board_cell) return &*it;
  }
  return nullptr;
}

Diagnostic pass_diagnostic(const BuildState& state, const ReductionFailure& failure) {
  const RestrictionOrigin* restriction = restriction_at(state, failure);
  const std::string at = std::to_string(std::int64_t{failure.cell} * 50) + " m (cell " +
                         std::to_string(failure.cell) + ")";
  const std::string which =
      restriction != nullptr
          ? "the speed restriction at " + std::to_string(restriction->position) + " m"
          : "a speed restriction";
  std::string message;
  if (failure.code == status::kNoRoomBeforeSignal) {
    message = "no free cell for a code-reduction point one or two cells before the signal at " +
              at + ", which stands within 20 cells before the warning board of " + which;
  } else if (failure.code == status::kBandFull) {
    message = "all three cells of a band before the start board (at " + at + ") of " + which +
              " are taken: no room for its code-reduction point";
  } else {
    message = "no free cell for a code-reduction point within or just after " + which +
              ", near " + at;
  }
  Diagnostic finding = unplaced_error(failure.code, std::move(message));
  finding.position = static_cast<std::int32_t>(std::int64_t{failure.cell} * 50);
  if (restriction != nullptr) {
    finding.where = restriction->where;
    finding.source_line = restriction->source_line;
  }
  return finding;
}

}  // namespace

std::optional<std::int32_t> build_model(BuildContext& context) {
  BuildState& state = context.state;
  state.status.code = status::kNone;
  state.status.origin.reset();
  state.diagnostics.clear();
  state.occupants.clear();
  state.restrictions.clear();
  state.progressives.clear();
  state.row_origins.clear();
  state.tunnel_origins.clear();
  state.speed_origins.clear();
  state.adhesion_origins.clear();
  state.gradient_origins.clear();
  state.curve_origins.clear();
  clear_table(state.table);
  memorizza_dati(context);
  // Without a grid (the line reader stopped before the length entry) there is
  // nothing to stamp or write; files of an earlier run stay as they were. A
  // grid always holds cells 0 and 1 (the length is at least 0).
  if (state.file_error || !state.grid || !state.grid->contains(1)) return std::nullopt;
  std::vector<ReductionFailure> failures;
  code_reduction_pass(*state.grid, state.status, &failures);
  for (const ReductionFailure& failure : failures) {
    state.diagnostics.push_back(pass_diagnostic(state, failure));
  }
  return stamp_headers(state.table, *state.grid);
}

}  // namespace scenario
