#pragma once

#include "builtin/line_table.h"

namespace scenario {

/// The line source of the built-in scenario, Orvale - Varcona Centrale (219 lines).
LineTable dati_linea();

/// The train source of the built-in scenario, train 593 (210 lines).
LineTable dati_treno();

}  // namespace scenario
