#include "testing/decode_properties.h"

#include "files/coding.h"
#include "output/dump.h"
#include "output/scenario_writer.h"

namespace scenario::testing {
namespace {

void put_tagged_value(std::string& out, const TaggedValue& value) {
  switch (value.tag) {
    case GeometryTag::empty:
      put_u16(out, 0);
      return;
    case GeometryTag::int16:
      put_u16(out, 2);
      put_i16(out, static_cast<std::int16_t>(value.value));
      return;
    case GeometryTag::real:
      put_u16(out, 5);
      put_f64(out, value.value);
      return;
  }
}

std::string encode_decoded_geometry(const DecodedGeometry& geometry) {
  std::string out;
  for (const auto* half : {&geometry.x, &geometry.y}) {
    for (const TaggedValue& value : *half) put_tagged_value(out, value);
  }
  return out;
}

std::optional<std::string> outcome(const char* kind, bool decoded, const std::string& error,
                                   std::string_view bytes, const std::string& encoded_again) {
  if (!decoded) {
    if (error.empty()) return std::string(kind) + ": refused without saying where";
    return std::nullopt;
  }
  if (encoded_again != bytes) return std::string(kind) + ": decoded records encode to other bytes";
  return std::nullopt;
}

}  // namespace

std::optional<std::string> check_decode_properties(std::string_view bytes) {
  {
    DecodedGeometry geometry;
    std::string error;
    const bool decoded = decode_plan_geometry(bytes, geometry, error);
    if (decoded && geometry.x.size() != geometry.y.size()) {
      return "plan geometry: x and y of different lengths";
    }
    if (auto broken = outcome("plan geometry", decoded, error, bytes,
                              decoded ? encode_decoded_geometry(geometry) : std::string())) {
      return broken;
    }
  }
  {
    RecordTable table;
    std::string error;
    const bool decoded = decode_record_table(bytes, table, error);
    if (auto broken = outcome("record table", decoded, error, bytes,
                              decoded ? encode_record_table(table) : std::string())) {
      return broken;
    }
  }
  CellGrid grid;
  std::string error;
  const bool decoded = decode_cell_grid(bytes, grid, error);
  return outcome("cell grid", decoded, error, bytes, decoded ? encode_cell_grid(grid) : std::string());
}

}  // namespace scenario::testing
