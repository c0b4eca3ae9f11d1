#include "model/code_reduction.h"

#include <cstdint>

#include "model/cell_fill.h"
#include "model/rounding.h"

namespace scenario {
namespace {

constexpr std::int16_t kPointValue = 180;

class Pass {
 public:
  Pass(CellGrid& grid, BuildStatus& status, std::vector<ReductionFailure>* failures)
      : grid_(grid), status_(status), failures_(failures) {}

  void run() {
    const std::int32_t end = last() - 2;
    for (std::int32_t i = next_board_cell(grid_, 1, end); i <= end;
         i = next_board_cell(grid_, i + 1, end)) {
      const std::uint8_t kind = grid_[i].kind;
      if (kind == cell_kind::kWarningBoard) {
        board_ = i;
        before_warning_board(i);
      } else if (kind == cell_kind::kStartBoard) {
        board_ = i;
        bands_before_start(i);
        if (grid_[i].val_a < 110) after_walk(walk(i));
      }
    }
  }

 private:
  std::int32_t last() const { return grid_.last_index(); }
  std::uint8_t kind(std::int32_t c) const { return grid_[c].kind; }
  bool is_free(std::int32_t c) const { return grid_.contains(c) && cell_is_free(grid_[c]); }

  void place(std::int32_t c) {
    grid_[c].kind = cell_kind::kReductionPoint;
    grid_[c].val_a = kPointValue;
  }

  // A code of the pass is not tied to a source line.
  void fail(StatusCode code, std::int32_t cell) {
    status_.code = code;
    status_.position = static_cast<std::int32_t>(std::int64_t{cell} * 50);
    status_.origin.reset();
    if (failures_ != nullptr) failures_->push_back({code, cell, board_});
  }

  // Step A: every signal within 20 cells before the warning board gets a
  // point one or two cells before it, or an existing point there is lowered.
  void before_warning_board(std::int32_t i) {
    for (std::int32_t j = 1; j <= 20; ++j) {
      const std::int32_t k = i - j;
      if (k < 3) return;
      if (kind(k) != cell_kind::kSignal) continue;
      if (is_free(k - 1)) {
        place(k - 1);
      } else if (is_free(k - 2)) {
        place(k - 2);
      } else if (kind(k - 1) == cell_kind::kReductionPoint) {
        grid_[k - 1].val_a = low16(minimo(kPointValue, grid_[k - 1].val_a));
      } else if (kind(k - 2) == cell_kind::kReductionPoint) {
        grid_[k - 2].val_a = low16(minimo(kPointValue, grid_[k - 2].val_a));
      } else {
        fail(status::kNoRoomBeforeSignal, k);
      }
    }
  }

  // Step B: one point in each of the bands 5..7, 11..13 and 18..20 cells
  // before the start board that fit above cell 0.
  void bands_before_start(std::int32_t i) {
    for (const std::int32_t near : {5, 11, 18}) {
      const std::int32_t far = near + 2;
      if (i <= far) continue;
      bool placed = false;
      for (std::int32_t d = near; d <= far && !placed; ++d) {
        if (is_free(i - d)) {
          place(i - d);
          placed = true;
        }
      }
      if (!placed) fail(status::kBandFull, i);
    }
  }

  // Step C: a point every 8 cells from the start board up to its end board.
  // The walk also stops at the last cell of the grid. Returns where it stopped.
  std::int32_t walk(std::int32_t i) {
    std::int32_t m = 0;
    std::int32_t w = i;
    for (;;) {
      ++w;
      ++m;
      if (m == 8) {
        if (is_free(w)) {
          place(w);
          m = 0;
        } else if (is_free(w - 1)) {
          place(w - 1);
          m = 1;
        } else if (is_free(w + 1)) {
          place(w + 1);
          m = -1;
        } else {
          // The counter passes 8 from here on: no further point in this walk.
          fail(status::kNoRoomInRestriction, w);
        }
      }
      if (kind(w) == cell_kind::kEndBoard || w >= last()) return w;
    }
  }

  // Step D: a point just before the first signal within 12 cells after the
  // end of the walk.
  void after_walk(std::int32_t w) {
    std::int32_t m = 0;
    for (std::int32_t n = w; n <= w + 12 && n <= last(); ++n) {
      if (kind(n) == cell_kind::kSignal) {
        m = n - 1;
        break;
      }
    }
    if (m <= 0) return;
    if (is_free(m)) {
      place(m);
    } else if (is_free(m - 1)) {
      place(m - 1);
    } else {
      fail(status::kNoRoomInRestriction, w);
    }
  }

  CellGrid& grid_;
  BuildStatus& status_;
  std::vector<ReductionFailure>* failures_;
  std::int32_t board_ = 0;  // the board the pass is working for
};

}  // namespace

void code_reduction_pass(CellGrid& grid, BuildStatus& status,
                         std::vector<ReductionFailure>* failures) {
  Pass(grid, status, failures).run();
}

}  // namespace scenario
