#include "app/diagnostic_json.h"

#include <algorithm>
#include <set>

#include "check/diagnostic_format.h"
#include "check/explanations.h"

namespace scenario {
namespace {

using Json = nlohmann::ordered_json;

template <typename T>
Json or_null(const std::optional<T>& value) {
  return value ? Json(*value) : Json(nullptr);
}

Json diagnostic_json(const Diagnostic& diagnostic) {
  Json json;
  json["severity"] = severity_name(diagnostic.severity);
  json["id"] = diagnostic.id.empty() ? Json(nullptr) : Json(diagnostic.id);
  json["code"] = diagnostic.code ? Json(code_number(*diagnostic.code)) : Json(nullptr);
  json["position"] = or_null(diagnostic.position);
  const auto& where = diagnostic.where;
  json["file"] = where ? Json(where->file) : Json(nullptr);
  json["line"] = where && where->line > 0 ? Json(where->line) : Json(nullptr);
  json["column"] = where && where->column > 0 ? Json(where->column) : Json(nullptr);
  json["end_column"] =
      where && where->column > 0 && where->end_column > 0 ? Json(where->end_column) : Json(nullptr);
  json["message"] = diagnostic.message;
  json["source_line"] =
      diagnostic.source_line.empty() ? Json(nullptr) : Json(diagnostic.source_line);
  json["notes"] = diagnostics_json(diagnostic.notes);
  return json;
}

// A name as a URI path: every byte but the unreserved ones (and those of
// `kept`) percent-encoded, so blanks and single-byte letters survive.
std::string uri_of(const std::string& file, std::string_view kept = "") {
  static const char kHex[] = "0123456789ABCDEF";
  std::string uri;
  for (unsigned char c : file) {
    const bool unreserved = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
                            (c >= '0' && c <= '9') || c == '-' || c == '.' || c == '_' ||
                            c == '~' || kept.find(static_cast<char>(c)) != std::string_view::npos;
    if (unreserved) {
      uri += static_cast<char>(c);
    } else {
      uri += '%';
      uri += kHex[c >> 4];
      uri += kHex[c & 15];
    }
  }
  return uri;
}

std::string_view sarif_level(Severity severity) {
  return severity == Severity::error ? "error" : severity == Severity::warning ? "warning" : "note";
}

Json sarif_location(const SourcePoint& where) {
  Json physical;
  physical["artifactLocation"] = {{"uri", uri_of(where.file)}, {"uriBaseId", "SRCROOT"}};
  if (where.line > 0) {
    Json region;
    region["startLine"] = where.line;
    if (where.column > 0) {
      region["startColumn"] = where.column;
      // At least one column: an empty field (a value missing at the line's
      // end) is shown as the place just after it.
      if (where.end_column > 0) region["endColumn"] = std::max(where.end_column, where.column + 1);
    }
    physical["region"] = region;
  }
  return Json{{"physicalLocation", physical}};
}

Json sarif_result(const Diagnostic& diagnostic) {
  Json result;
  result["ruleId"] = diagnostic.id;
  result["level"] = sarif_level(diagnostic.severity);
  result["message"] = {{"text", diagnostic.message}};
  result["locations"] = Json::array();
  if (diagnostic.where && !diagnostic.where->file.empty()) {
    result["locations"].push_back(sarif_location(*diagnostic.where));
  }
  if (diagnostic.position) result["properties"] = {{"position", *diagnostic.position}};
  // Notes go where SARIF viewers show them beside the result.
  Json related = Json::array();
  for (const Diagnostic& note : diagnostic.notes) {
    Json location = note.where && !note.where->file.empty() ? sarif_location(*note.where) : Json::object();
    location["message"] = {{"text", note.message}};
    related.push_back(location);
  }
  if (!related.empty()) result["relatedLocations"] = related;
  return result;
}

Json sarif_rule(const std::string& id) {
  Json rule;
  rule["id"] = id;
  if (auto explanation = find_explanation(id)) {
    rule["shortDescription"] = {{"text", explanation->title}};
    rule["fullDescription"] = {{"text", std::string(explanation->meaning)}};
    rule["help"] = {{"text", std::string(explanation->fix)}};
  }
  return rule;
}

// "file://" and the folder, in its generic form ("/" between parts), with a
// "/" at its end and one before a drive letter ("C:/a b" gives "file:///C:/a%20b/").
std::string folder_uri(const std::string& folder) {
  std::string path = folder;
  if (!path.starts_with('/')) path.insert(0, 1, '/');
  if (!path.ends_with('/')) path += '/';
  std::string uri = "file://";
  uri += uri_of(path, "/:");
  return uri;
}

}  // namespace

nlohmann::ordered_json diagnostics_json(const std::vector<Diagnostic>& diagnostics) {
  Json array = Json::array();
  for (const Diagnostic& diagnostic : diagnostics) array.push_back(diagnostic_json(diagnostic));
  return array;
}

nlohmann::ordered_json sarif_log(const std::vector<Diagnostic>& diagnostics,
                                 const std::string& source_folder) {
  std::vector<std::string> rule_ids;
  std::set<std::string> seen;
  Json results = Json::array();
  for (const Diagnostic& diagnostic : diagnostics) {
    if (seen.insert(diagnostic.id).second) rule_ids.push_back(diagnostic.id);
    results.push_back(sarif_result(diagnostic));
  }
  Json rules = Json::array();
  for (const std::string& id : rule_ids) rules.push_back(sarif_rule(id));
  Json driver;
  driver["name"] = "scenario-compiler";
  driver["version"] = SCENARIO_COMPILER_VERSION;
  driver["rules"] = rules;
  Json run;
  run["tool"] = {{"driver", driver}};
  if (!source_folder.empty()) {
    run["originalUriBaseIds"] = {{"SRCROOT", {{"uri", folder_uri(source_folder)}}}};
  }
  run["results"] = results;
  Json log;
  log["$schema"] = "https://json.schemastore.org/sarif-2.1.0.json";
  log["version"] = "2.1.0";
  log["runs"] = Json::array({run});
  return log;
}

std::string json_text(const nlohmann::ordered_json& json) {
  return json.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) + "\n";
}

}  // namespace scenario
