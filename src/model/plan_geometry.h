#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

namespace scenario {

/// Type of a plan-geometry element; the values are the file's type codes.
enum class GeometryTag : std::uint8_t { empty = 0, int16 = 2, real = 5 };

/// The bytes of a tagged value whose 16-bit type code is `code`, the code
/// included: 2 for empty, 4 for a 16-bit whole number, 10 for a double; 0 for
/// a code that is no type.
constexpr std::size_t tagged_value_size(std::uint16_t code) {
  switch (code) {
    case static_cast<std::uint16_t>(GeometryTag::empty): return 2;
    case static_cast<std::uint16_t>(GeometryTag::int16): return 4;
    case static_cast<std::uint16_t>(GeometryTag::real): return 10;
    default: return 0;
  }
}

/// The line seen from above, one point per metre 0..M (M = line length + 7000),
/// held as the bytes of its file: all x as tagged values, then all y. x and y
/// of one metre are always written together, so one tag per metre says what
/// both hold: metres 0 and 1 the 16-bit seed values, metres 2 up to the cursor
/// computed doubles, the rest nothing. Each half is filled as the metres are
/// computed, in a buffer never zero-filled; `plan_geometry_file` closes the
/// gap between them, so the file's bytes exist once.
class PlanGeometry {
 public:
  /// Metres 0..M.
  std::int32_t metres() const { return last_metre + 1; }
  GeometryTag tag(std::int32_t metre) const;
  /// The value stored for a metre (0 for an empty one).
  double x(std::int32_t metre) const;
  double y(std::int32_t metre) const;

  std::int32_t last_metre = 0;  // M
  std::int32_t cursor = 0;      // next metre to compute; 2 after seeding

 private:
  friend PlanGeometry create_plan_geometry(std::int32_t line_length, bool points);
  friend void seed_plan_geometry(PlanGeometry& geometry);
  friend bool run_curve(PlanGeometry&, std::int32_t, std::int32_t, double);
  friend void complete_plan_geometry(PlanGeometry& geometry);
  friend std::string_view plan_geometry_file(PlanGeometry& geometry);

  bool extendable() const { return cursor >= 2 && !closed_; }
  std::size_t offset(std::int32_t metre) const;  // of a metre's value within its half
  double value(std::size_t half, std::int32_t metre) const;
  bool walk_to(std::int64_t until, double curvature, bool curved);
  void step_to(std::int64_t stop, double curvature, bool curved);

  std::unique_ptr<char[]> bytes_;  // none when only the cursor is kept
  std::size_t y_half_ = 0;      // where the y half starts in `bytes_`
  bool closed_ = false;         // the empty tails written and the halves joined
  double last_x_[2] = {0, 0};   // x of the metres cursor - 2 and cursor - 1
  double last_y_[2] = {0, 0};
};

/// A new, all-empty geometry for metres 0..line_length + 7000. Without
/// `points` it keeps only its cursor: every walk moves the cursor and fails
/// exactly as with the points, but no metre is computed or stored (each reads
/// as empty, and the file is empty). That is all a reading that writes no
/// file needs: whether a curve takes the walk past metre 1000000.
PlanGeometry create_plan_geometry(std::int32_t line_length, bool points = true);

/// Metre 0 becomes (0, 0) and metre 1 (0, 1), as 16-bit values; cursor 2.
void seed_plan_geometry(PlanGeometry& geometry);

/// Straight up to metre `start`, then curved with `curvature` per metre up to
/// metre start + length. Returns false when the cursor passes metre 1000000
/// (status 103).
bool run_curve(PlanGeometry& geometry, std::int32_t start, std::int32_t length,
               double curvature);

/// Extends the line straight up to metre M - 2.
void complete_plan_geometry(PlanGeometry& geometry);

/// The plan geometry file's bytes: every metre's x, then every metre's y.
/// Ends the computation: no metre is added after it.
std::string_view plan_geometry_file(PlanGeometry& geometry);

}  // namespace scenario
