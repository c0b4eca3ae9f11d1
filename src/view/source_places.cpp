#include "view/source_places.h"

namespace scenario {

SourcePlaces source_places(const BuildState& state) {
  SourcePlaces places;
  auto place = [](const SourcePoint& where) { return SourcePlace{where.file, where.line}; };
  for (const auto& [cell, occupant] : state.occupants) {
    places.objects[{cell, occupant.kind}] = place(occupant.where);
  }
  for (const auto& [row, where] : state.row_origins) places.rows[row] = place(where);
  for (const auto& [cell, where] : state.tunnel_origins) places.tunnels[cell] = place(where);
  return places;
}

}  // namespace scenario
