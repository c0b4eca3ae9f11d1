#include "builtin/line_table.h"

namespace scenario {

std::string render_line_table(LineTable table) {
  std::string text;
  // The marker is the only stop of a table; stopping at the table's own end
  // as well keeps a table that lost its marker from being read past.
  for (std::string_view entry : table) {
    if (entry == kEndMarker) break;
    text += entry;
    text += "\r\n";
  }
  return text;
}

IoResult write_line_table(FileSystem& files, const std::string& path, LineTable table) {
  return files.replace(path, render_line_table(table));
}

}  // namespace scenario
