#include "model/placement.h"

namespace scenario {

// Placeholder bodies until object placement is built.
void memo_montagna(CellGrid&, TunnelList&, std::int32_t, std::int32_t, std::int32_t&) {}

bool memo_indicatori_v_max(CellGrid&, BuildStatus&, std::int32_t, std::int32_t, std::int32_t,
                           std::int32_t, std::int32_t, std::int32_t, std::int32_t, std::int32_t,
                           std::int32_t) {
  return true;
}

void memo_segnale(CellGrid&, BuildStatus&, std::int32_t, std::int32_t, std::int32_t, std::int32_t,
                  std::int32_t, std::int32_t, std::int32_t, std::int32_t, std::int32_t,
                  std::int32_t, std::int32_t) {}

void memo_rallentamento(CellGrid&, BuildStatus&, std::int32_t, std::int32_t, std::int32_t,
                        std::int32_t, std::int32_t, std::int32_t) {}

}  // namespace scenario
