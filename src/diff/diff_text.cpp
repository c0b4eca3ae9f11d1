#include "diff/diff_text.h"

namespace scenario {
namespace {

std::string values_text(const Change& change) {
  std::string text;
  for (const FieldChange& field : change.fields) {
    const auto& value = change.kind == ChangeKind::removed ? field.old_value : field.new_value;
    if (!value) continue;
    if (!text.empty()) text += ", ";
    text += field.field.empty() ? value->text : field.field + " " + value->text;
  }
  return text;
}

std::string changes_text(const Change& change) {
  std::string text;
  for (const FieldChange& field : change.fields) {
    if (!text.empty()) text += "; ";
    if (!field.field.empty()) text += field.field + " ";
    text += "from " + (field.old_value ? field.old_value->text : std::string("none")) + " to " +
            (field.new_value ? field.new_value->text : std::string("none"));
  }
  return text;
}

}  // namespace

const char* change_word(ChangeKind kind) {
  switch (kind) {
    case ChangeKind::added: return "added";
    case ChangeKind::removed: return "removed";
    case ChangeKind::moved: return "moved";
    case ChangeKind::changed: break;
  }
  return "changed";
}

namespace {

std::string status_note(const LoadedScenario& scenario, const std::string& label) {
  if (scenario.stale_sources) {
    return "note: the sources in " + label +
           " do not build its compiled files, which are compared; no source lines are shown\n";
  }
  if (!scenario.status || scenario.status->code == status::kNone) return "";
  return "note: the sources of " + label + " build with status " +
         std::to_string(code_number(scenario.status->code)) + " at " +
         std::to_string(scenario.status->position) + " m\n";
}

}  // namespace

std::string origin_text(const LoadedScenario& scenario) {
  return scenario.origin == ScenarioOrigin::sources ? "sources, built in memory"
                                                    : "compiled files";
}

std::string change_text(const Change& change) {
  std::string line;
  if (!change.at_m) {
    line = "header";
  } else {
    line = kilometre_text(*change.at_m);
    if (change.to_m) line += " to " + kilometre_text(*change.to_m);
  }
  line += "  " + (change.entry == "header" ? change.name : change.entry);
  if (change.entry == "station") line += " \"" + change.name + "\"";
  line += " ";
  line += change_word(change.kind);
  const std::string details =
      change.kind == ChangeKind::changed || change.kind == ChangeKind::moved ? changes_text(change)
                                                                             : values_text(change);
  if (!details.empty()) line += ": " + details;
  if (change.source) {
    line += "  (" + change.source->path + ":" + std::to_string(change.source->line) + ")";
  }
  return line;
}

std::string diff_text(const ScenarioDiff& diff, const LoadedScenario& old_scenario,
                      const LoadedScenario& new_scenario, const std::string& old_label,
                      const std::string& new_label) {
  std::string out = "--- " + old_label + " (" + origin_text(old_scenario) + ")\n" + "+++ " +
                    new_label + " (" + origin_text(new_scenario) + ")\n";
  out += status_note(old_scenario, old_label);
  out += status_note(new_scenario, new_label);
  for (const Change& change : diff.changes) out += change_text(change) + "\n";
  if (!diff.follow_on.empty()) {
    out += "follow-on bytes, not listed one by one:";
    for (const FollowOn& f : diff.follow_on) {
      out += (&f == &diff.follow_on.front() ? " " : "; ") + std::to_string(f.count) + " " +
             f.what + " (from " + f.cause + ")";
    }
    out += "\n";
  }
  if (!diff.changes.empty()) {
    out += std::to_string(diff.changes.size()) +
           (diff.changes.size() == 1 ? " change\n" : " changes\n");
  } else if (diff.same_bytes()) {
    out += "no difference\n";
  } else {
    out += "the same meaning, but the bytes differ:\n";
    for (const FileComparison& file : diff.files) {
      if (!file.first_difference) continue;
      out += "  " + file.file + ": ";
      if (!file.in_old || !file.in_new) {
        out += "only in " + (file.in_old ? old_label : new_label) + "\n";
        continue;
      }
      out += "first difference at byte " + std::to_string(*file.first_difference);
      if (!file.place.empty()) out += " (" + file.place + ")";
      if (file.old_size != file.new_size) {
        out += "; " + std::to_string(file.old_size) + " bytes, then " +
               std::to_string(file.new_size);
      }
      out += "\n";
    }
  }
  return out;
}

}  // namespace scenario
