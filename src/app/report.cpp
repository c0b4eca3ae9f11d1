#include "app/report.h"

#include <nlohmann/json.hpp>

#include "app/diagnostic_json.h"

namespace scenario {

std::string report_json(const CommandReport& report) {
  nlohmann::ordered_json json;
  json["status"] = {{"code", code_number(report.status.code)}, {"position", report.status.position}};
  json["fatal"] = report.fatal ? nlohmann::ordered_json(*report.fatal) : nullptr;
  json["grid_last_index"] =
      report.grid_last_index ? nlohmann::ordered_json(*report.grid_last_index) : nullptr;
  json["written"] = report.written;
  if (report.status.code != status::kNone && report.status.origin) {
    json["source"] = {{"file", report.status.origin->file}, {"line", report.status.origin->line}};
  } else {
    json["source"] = nullptr;
  }
  json["diagnostics"] = diagnostics_json(report.diagnostics);
  // Names are bytes in the system's single-byte set: replace what is not UTF-8.
  return json.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) + "\n";
}

}  // namespace scenario
