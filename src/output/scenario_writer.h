#pragma once

#include <string>
#include <vector>

#include "model/cell_grid.h"
#include "model/record_table.h"
#include "output/file_system.h"
#include "sources/plan_geometry.h"

namespace scenario {

/// The plan geometry file's bytes: tagged values, all x then all y.
std::string encode_plan_geometry(const PlanGeometry& geometry);

/// The record table file's bytes: 87 rows of 34 + n bytes.
std::string encode_record_table(const RecordTable& table);

/// The cell grid file's bytes: 15 bytes a cell.
std::string encode_cell_grid(const CellGrid& grid);

}  // namespace scenario
