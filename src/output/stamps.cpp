#include "output/stamps.h"

namespace scenario {

// Placeholder bodies until the stamps are built.
std::int32_t codice_gara_og(const RecordTable&) { return 0; }
std::int32_t codice_gara_st(const RecordTable&) { return 0; }
std::optional<std::int32_t> stamp_headers(RecordTable&, CellGrid&) { return std::nullopt; }

}  // namespace scenario
