#include "model/plan_geometry.h"

#include <algorithm>
#include <cstring>

#include "files/coding.h"

namespace scenario {
namespace {

// A curve may not carry the walk beyond this metre; the completion may.
constexpr std::int64_t kCurveMetreLimit = 1000000;

constexpr std::size_t kEmptyBytes = tagged_value_size(static_cast<std::uint16_t>(GeometryTag::empty));
constexpr std::size_t kInt16Bytes = tagged_value_size(static_cast<std::uint16_t>(GeometryTag::int16));
constexpr std::size_t kRealBytes = tagged_value_size(static_cast<std::uint16_t>(GeometryTag::real));

// The last metre any step may write: M - 1 and M stay empty.
std::int64_t last_computed_metre(const PlanGeometry& geometry) {
  return std::int64_t{geometry.last_metre} - 2;
}

}  // namespace

std::size_t PlanGeometry::offset(std::int32_t metre) const {
  const auto m = static_cast<std::size_t>(metre);
  if (cursor < 2) return kEmptyBytes * m;
  if (m < 2) return kInt16Bytes * m;
  const auto computed_end = static_cast<std::size_t>(cursor);
  if (m < computed_end) return 2 * kInt16Bytes + kRealBytes * (m - 2);
  return 2 * kInt16Bytes + kRealBytes * (computed_end - 2) + kEmptyBytes * (m - computed_end);
}

GeometryTag PlanGeometry::tag(std::int32_t metre) const {
  if (!bytes_ || metre < 0 || metre > last_metre || metre >= cursor) return GeometryTag::empty;
  return metre < 2 ? GeometryTag::int16 : GeometryTag::real;
}

double PlanGeometry::value(std::size_t half, std::int32_t metre) const {
  const GeometryTag kind = bytes_ ? tag(metre) : GeometryTag::empty;
  if (kind == GeometryTag::empty) return 0.0;
  const std::size_t at = half + offset(metre) + 2;
  ByteReader reader(std::string_view(bytes_.get() + at, kind == GeometryTag::real ? 8 : 2));
  if (kind == GeometryTag::real) {
    double real = 0;
    reader.get_f64(real);
    return real;
  }
  std::int16_t whole = 0;
  reader.get_i16(whole);
  return whole;
}

double PlanGeometry::x(std::int32_t metre) const { return value(0, metre); }

double PlanGeometry::y(std::int32_t metre) const { return value(y_half_, metre); }

PlanGeometry create_plan_geometry(std::int32_t line_length, bool points) {
  PlanGeometry geometry;
  geometry.last_metre = line_length + 7000;
  if (!points) return geometry;
  // Each half is at most one double a metre; pages never written are never
  // touched, so the size asked for costs nothing beyond the bytes stored.
  const std::size_t half = kRealBytes * static_cast<std::size_t>(geometry.metres());
  geometry.bytes_ = std::make_unique_for_overwrite<char[]>(2 * half);
  geometry.y_half_ = half;
  return geometry;
}

void seed_plan_geometry(PlanGeometry& geometry) {
  if (geometry.metres() < 2 || geometry.closed_) return;
  if (!geometry.bytes_) {
    geometry.cursor = 2;
    return;
  }
  char* x = geometry.bytes_.get();
  char* y = x + geometry.y_half_;
  for (std::int16_t metre = 0; metre < 2; ++metre) {
    x = store_u16(store_u16(x, 2), 0);
    y = store_u16(store_u16(y, 2), static_cast<std::uint16_t>(metre));
  }
  geometry.last_x_[0] = geometry.last_x_[1] = 0;
  geometry.last_y_[0] = 0;
  geometry.last_y_[1] = 1;
  geometry.cursor = 2;
}

// Computes the metres from the cursor up to `stop`, each from the two metres
// before it. The step is taken afresh from the stored values every time and
// never normalised, so every curved metre lengthens it by sqrt(1 + k^2) for
// good. Each operation is rounded on its own (the build forbids fused
// multiply-add), which keeps the doubles identical on every machine. The
// last two points stay in locals and the values are stored one after the
// other: this loop runs for every metre of every build with the geometry.
void PlanGeometry::step_to(std::int64_t stop, double curvature, bool curved) {
  if (cursor > stop) return;
  double x0 = last_x_[0];
  double x1 = last_x_[1];
  double y0 = last_y_[0];
  double y1 = last_y_[1];
  char* x_at = bytes_.get() + offset(cursor);
  char* y_at = x_at + y_half_;
  for (std::int64_t metre = cursor; metre <= stop; ++metre) {
    const double dx = x1 - x0;
    const double dy = y1 - y0;
    double x = x1 + dx;
    double y = y1 + dy;
    if (curved) {
      const double step_x = dx + curvature * dy;
      const double step_y = dy - curvature * dx;
      x = x1 + step_x;
      y = y1 + step_y;
    }
    x_at = store_f64(store_u16(x_at, 5), x);
    y_at = store_f64(store_u16(y_at, 5), y);
    x0 = x1;
    x1 = x;
    y0 = y1;
    y1 = y;
  }
  cursor = static_cast<std::int32_t>(stop + 1);
  last_x_[0] = x0;
  last_x_[1] = x1;
  last_y_[0] = y0;
  last_y_[1] = y1;
}

// Steps from the cursor up to metre `until` (inclusive); false when a step
// carries the cursor past the curve limit.
bool PlanGeometry::walk_to(std::int64_t until, double curvature, bool curved) {
  const std::int64_t end = std::min(until, last_computed_metre(*this));
  if (!bytes_) {
    // The cursor alone, moved as the steps below would move it.
    if (cursor > end) return true;
    if (end < kCurveMetreLimit) {
      cursor = static_cast<std::int32_t>(end + 1);
      return true;
    }
    cursor = static_cast<std::int32_t>(std::max<std::int64_t>(cursor + 1, kCurveMetreLimit + 1));
    return false;
  }
  if (cursor > end) return true;
  // Up to the limit, or one metre when the cursor is past it already.
  step_to(std::min(end, std::max<std::int64_t>(kCurveMetreLimit, cursor)), curvature, curved);
  return cursor <= kCurveMetreLimit;
}

// Steps need the two metres before the cursor: nothing is extended before
// seeding, nor once the file's bytes are made.
bool run_curve(PlanGeometry& geometry, std::int32_t start, std::int32_t length,
               double curvature) {
  if (!geometry.extendable()) return true;
  // A curve that would run past metre M - 2 stops there without complaint:
  // only its start is checked against the line.
  if (!geometry.walk_to(start, 0.0, false)) return false;
  return geometry.walk_to(std::int64_t{start} + length, curvature, true);
}

// The completion is not bound by the curve limit.
void complete_plan_geometry(PlanGeometry& geometry) {
  if (!geometry.extendable()) return;
  const std::int64_t end = last_computed_metre(geometry);
  if (!geometry.bytes_) {
    geometry.cursor = static_cast<std::int32_t>(std::max<std::int64_t>(geometry.cursor, end + 1));
    return;
  }
  geometry.step_to(end, 0.0, false);
}

std::string_view plan_geometry_file(PlanGeometry& geometry) {
  if (!geometry.bytes_) return {};  // never created: no metre at all
  const std::size_t half = geometry.offset(geometry.metres());
  if (!geometry.closed_) {
    char* x = geometry.bytes_.get();
    const std::size_t tail = geometry.offset(geometry.cursor);
    // Empty values are two zero bytes each: the tails are their content.
    std::memset(x + tail, 0, half - tail);
    std::memset(x + geometry.y_half_ + tail, 0, half - tail);
    std::memmove(x + half, x + geometry.y_half_, half);
    geometry.y_half_ = half;
    geometry.closed_ = true;
  }
  return std::string_view(geometry.bytes_.get(), 2 * half);
}

}  // namespace scenario
