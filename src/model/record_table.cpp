#include "model/record_table.h"

namespace scenario {

void clear_table(RecordTable& table) {
  for (TableRow& row : table.rows) row = TableRow{};
}

void name_scenario(RecordTable& table, const std::string& base_name,
                   const std::string& train_number) {
  table.rows[table_row::kScenarioHeader].text = base_name;
  table.rows[table_row::kTrainHeader].text = train_number;
}

}  // namespace scenario
