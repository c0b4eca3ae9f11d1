#include "diff/diff_text.h"

#include "language/translate.h"

namespace scenario {
namespace {

// A value as shown: its words in the language (names, being quoted, and
// numbers stay as they are), a gradient's unit too.
std::string value_shown(const DiffValue& value, Language language) {
  if (!value.number) return tr(language, value.text);
  constexpr std::string_view kPermille = " permille";
  const std::string_view text = value.text;
  if (text.size() > kPermille.size() && text.ends_with(kPermille)) {
    return std::string(text.substr(0, text.size() - kPermille.size())) + " " +
           tr(language, N_("permille"));
  }
  return value.text;
}

std::string values_text(const Change& change, Language language) {
  std::string text;
  for (const FieldChange& field : change.fields) {
    const auto& value = change.kind == ChangeKind::removed ? field.old_value : field.new_value;
    if (!value) continue;
    if (!text.empty()) text += ", ";
    const std::string shown = value_shown(*value, language);
    text += field.field.empty() ? shown : tr(language, field.field) + " " + shown;
  }
  return text;
}

std::string changes_text(const Change& change, Language language) {
  std::string text;
  const std::string none = tr(language, "none");
  for (const FieldChange& field : change.fields) {
    if (!text.empty()) text += "; ";
    if (!field.field.empty()) text += tr(language, field.field) + " ";
    text += trf(language, "from {1} to {2}",
                {field.old_value ? value_shown(*field.old_value, language) : none,
                 field.new_value ? value_shown(*field.new_value, language) : none});
  }
  return text;
}

// The word of a change's kind for a person.
std::string change_shown(ChangeKind kind, Language language) {
  switch (kind) {
    case ChangeKind::added: return tr(language, "added");
    case ChangeKind::removed: return tr(language, "removed");
    case ChangeKind::moved: return tr(language, "moved");
    case ChangeKind::changed: break;
  }
  return tr(language, "changed");
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

std::string status_note(const LoadedScenario& scenario, const std::string& label,
                        Language language) {
  if (scenario.stale_sources) {
    return "note: " +
           trf(language,
               "the sources in {1} do not build its compiled files, which are compared; no "
               "source lines are shown",
               {label}) +
           "\n";
  }
  if (!scenario.status || scenario.status->code == status::kNone) return "";
  return "note: " +
         trf(language, "the sources of {1} build with status {2} at {3} m",
             {label, std::to_string(code_number(scenario.status->code)),
              std::to_string(scenario.status->position)}) +
         "\n";
}

}  // namespace

std::string origin_text(const LoadedScenario& scenario, Language language) {
  return scenario.origin == ScenarioOrigin::sources ? tr(language, "sources, built in memory")
                                                    : tr(language, "compiled files");
}

std::string change_text(const Change& change, Language language) {
  std::string line;
  if (!change.at_m) {
    line = tr(language, "header");
  } else {
    line = kilometre_text(*change.at_m);
    if (change.to_m) {
      line = trf(language, "{1} to {2}", {line, kilometre_text(*change.to_m)});
    }
  }
  line += "  " + tr(language, change.entry == "header" ? change.name : change.entry);
  if (change.entry == "station") line += " \"" + change.name + "\"";
  line += " ";
  line += change_shown(change.kind, language);
  const std::string details = change.kind == ChangeKind::changed ||
                                      change.kind == ChangeKind::moved
                                  ? changes_text(change, language)
                                  : values_text(change, language);
  if (!details.empty()) line += ": " + details;
  if (change.source) {
    line += "  (" + change.source->path + ":" + std::to_string(change.source->line) + ")";
  }
  return line;
}

std::string diff_text(const ScenarioDiff& diff, const LoadedScenario& old_scenario,
                      const LoadedScenario& new_scenario, const std::string& old_label,
                      const std::string& new_label, Language language) {
  std::string out = "--- " + old_label + " (" + origin_text(old_scenario, language) + ")\n" +
                    "+++ " + new_label + " (" + origin_text(new_scenario, language) + ")\n";
  out += status_note(old_scenario, old_label, language);
  out += status_note(new_scenario, new_label, language);
  for (const Change& change : diff.changes) out += change_text(change, language) + "\n";
  if (!diff.follow_on.empty()) {
    out += tr(language, "follow-on bytes, not listed one by one:");
    for (const FollowOn& f : diff.follow_on) {
      out += (&f == &diff.follow_on.front() ? " " : "; ") +
             trf(language, "{1} {2} (from {3})",
                 {std::to_string(f.count), tr(language, f.what), tr(language, f.cause)});
    }
    out += "\n";
  }
  if (!diff.changes.empty()) {
    const std::string count = std::to_string(diff.changes.size());
    out += (diff.changes.size() == 1 ? trf(language, "{1} change", {count})
                                     : trf(language, "{1} changes", {count})) +
           "\n";
  } else if (diff.same_bytes()) {
    out += tr(language, "no difference") + "\n";
  } else {
    out += tr(language, "the same meaning, but the bytes differ:") + "\n";
    for (const FileComparison& file : diff.files) {
      if (!file.first_difference) continue;
      out += "  " + file.file + ": ";
      if (!file.in_old || !file.in_new) {
        out += trf(language, "only in {1}", {file.in_old ? old_label : new_label}) + "\n";
        continue;
      }
      out += trf(language, "first difference at byte {1}",
                 {std::to_string(*file.first_difference)});
      if (!file.place.empty()) out += " (" + file.place + ")";
      if (file.old_size != file.new_size) {
        out += "; " + trf(language, "{1} bytes, then {2}",
                          {std::to_string(file.old_size), std::to_string(file.new_size)});
      }
      out += "\n";
    }
  }
  return out;
}

}  // namespace scenario
