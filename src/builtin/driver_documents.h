#pragma once

#include "builtin/line_table.h"

namespace scenario {

/// The notes for the driver (8 lines).
LineTable dati_note();

/// The slow-order form listing the two speed restrictions (44 lines).
LineTable dati_rallentamenti();

/// The timetable sheet: two filled sheets and two blank forms (217 lines).
LineTable dati_scheda();

}  // namespace scenario
