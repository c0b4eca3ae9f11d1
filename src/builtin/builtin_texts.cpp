#include "builtin/builtin_texts.h"

#include "builtin/builtin_scenario.h"
#include "builtin/driver_documents.h"
#include "builtin/line_table.h"
#include "language/translate.h"

namespace scenario {

IoResult write_builtin_texts(FileSystem& files, const ScenarioFileNames& names) {
  const struct {
    const std::string& path;
    LineTable table;
  } texts[] = {
      {names.line_source, dati_linea()}, {names.train_source, dati_treno()},
      {names.notes, dati_note()},        {names.slow_orders, dati_rallentamenti()},
      {names.timetable, dati_scheda()},
  };
  for (const auto& text : texts) {
    IoResult result = write_line_table(files, text.path, text.table);
    if (!result.ok) return result;
  }
  return IoResult::success();
}

std::vector<std::string> edited_sources(FileSystem& files, const ScenarioFileNames& names,
                                        Language language) {
  const struct {
    const std::string& path;
    LineTable table;
  } sources[] = {{names.line_source, dati_linea()}, {names.train_source, dati_treno()}};
  std::vector<std::string> edited;
  for (const auto& source : sources) {
    if (!files.exists(source.path)) continue;
    std::string content;
    if (IoResult result = files.read(source.path, content); !result.ok) {
      edited.push_back(result.message);
    } else if (content != render_line_table(source.table)) {
      edited.push_back(trf(language, "'{1}' differs from the built-in text", {source.path}));
    }
  }
  return edited;
}

}  // namespace scenario
