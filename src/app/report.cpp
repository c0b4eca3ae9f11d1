#include "app/report.h"

#include <nlohmann/json.hpp>

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
  // Names are bytes in the system's single-byte set: replace what is not UTF-8.
  return json.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) + "\n";
}

std::string status_message(const BuildStatus& status) {
  std::string line;
  if (status.origin) {
    line = status.origin->file + ":" + std::to_string(status.origin->line) + ": ";
  }
  line += "status " + std::to_string(code_number(status.code)) + " at " + std::to_string(status.position) +
          " m: " + status_meaning(status.code);
  return line;
}

}  // namespace scenario
