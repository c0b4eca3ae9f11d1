#include "app/diff_command.h"

#include <iostream>
#include <nlohmann/json.hpp>

#include "app/commands.h"
#include "diff/diff_text.h"
#include "diff/scenario_diff.h"
#include "output/cp1252.h"

namespace scenario {
namespace {

using Json = nlohmann::ordered_json;

Json value_json(const std::optional<DiffValue>& value) {
  if (!value) return nullptr;
  if (value->number) return *value->number;
  return cp1252_to_utf8(value->text);
}

Json text_json(const std::optional<DiffValue>& value) {
  if (!value) return nullptr;
  return cp1252_to_utf8(value->text);
}


Json side_json(const LoadedScenario& scenario) {
  Json side;
  side["folder"] = scenario.folder;
  side["from"] = scenario.origin == ScenarioOrigin::sources ? "sources" : "compiled";
  side["sources_build_other_bytes"] = scenario.stale_sources;
  if (scenario.status) {
    side["status"] = {{"code", code_number(scenario.status->code)},
                      {"position", scenario.status->position}};
  } else {
    side["status"] = nullptr;
  }
  return side;
}

Json diff_json(const ScenarioDiff& diff, const LoadedScenario& before,
               const LoadedScenario& after) {
  Json out;
  out["old"] = side_json(before);
  out["new"] = side_json(after);
  out["same"] = diff.changes.empty() && diff.same_bytes();
  out["same_meaning"] = diff.changes.empty();
  Json changes = Json::array();
  for (const Change& change : diff.changes) {
    Json c;
    c["change"] = change_word(change.kind);
    c["entry"] = change.entry;
    c["name"] = cp1252_to_utf8(change.name);
    c["at_m"] = change.at_m ? Json(*change.at_m) : Json(nullptr);
    c["to_m"] = change.to_m ? Json(*change.to_m) : Json(nullptr);
    c["km"] = change.at_m ? Json(kilometre_text(*change.at_m)) : Json(nullptr);
    Json fields = Json::array();
    for (const FieldChange& field : change.fields) {
      fields.push_back({{"field", field.field},
                        {"old", value_json(field.old_value)},
                        {"new", value_json(field.new_value)},
                        {"old_text", text_json(field.old_value)},
                        {"new_text", text_json(field.new_value)}});
    }
    c["fields"] = fields;
    c["source"] = change.source ? Json{{"file", change.source->path}, {"line", change.source->line}}
                                : Json(nullptr);
    c["text"] = cp1252_to_utf8(change_text(change, Language::english));
    changes.push_back(c);
  }
  out["changes"] = changes;
  Json follow_on = Json::array();
  for (const FollowOn& f : diff.follow_on) {
    follow_on.push_back({{"what", f.what}, {"cause", f.cause}, {"count", f.count}});
  }
  out["follow_on"] = follow_on;
  Json files = Json::array();
  for (const FileComparison& file : diff.files) {
    files.push_back({{"file", file.file},
                     {"in_old", file.in_old},
                     {"in_new", file.in_new},
                     {"old_size", file.old_size},
                     {"new_size", file.new_size},
                     {"first_difference", file.first_difference ? Json(*file.first_difference)
                                                                : Json(nullptr)},
                     {"place", file.place}});
  }
  out["files"] = files;
  return out;
}

}  // namespace

int run_diff(const DiffOptions& options) {
  DiskFileSystem disk;
  LoadedScenario before, after;
  std::string error;
  if (!load_scenario(disk, options.old_folder, options.base_name, options.train_number, before,
                     error, options.language) ||
      !load_scenario(disk, options.new_folder, options.base_name, options.train_number, after,
                     error, options.language)) {
    std::cerr << "scenario-compiler: " << error << std::endl;
    return exit_status::kFileError;
  }
  const ScenarioDiff diff = diff_scenarios(before, after, options.base_name, options.train_number);
  if (options.format == "json") {
    std::cout << diff_json(diff, before, after).dump(2, ' ', false, Json::error_handler_t::replace)
              << "\n";
  } else {
    std::cout << diff_text(diff, before, after, options.old_folder, options.new_folder,
                           options.language);
  }
  std::cout.flush();
  if (!std::cout) {
    std::cerr << "scenario-compiler: cannot write standard output" << std::endl;
    return exit_status::kFileError;
  }
  return diff.changes.empty() && diff.same_bytes() ? exit_status::kSuccess
                                                   : exit_status::kBuildStatus;
}

}  // namespace scenario
