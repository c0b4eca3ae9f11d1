#include <charconv>
#include <cstdio>
#include <iostream>
#include <nlohmann/json.hpp>

#include "app/commands.h"
#include "files/file_names.h"
#include "output/dump.h"
#include "files/file_system.h"

namespace scenario {
namespace {

using Json = nlohmann::ordered_json;

// Collects the output and hands it to standard output in large pieces: a
// plan geometry file gives a million lines.
class Printer {
 public:
  ~Printer() { flush(); }
  void line(const std::string& text) {
    buffer_ += text;
    buffer_ += '\n';
    if (buffer_.size() >= (1u << 20)) flush();
  }
  void json_record(const Json& record) {
    if (records_++ != 0) buffer_ += ",\n";
    buffer_ += record.dump(-1, ' ', false, Json::error_handler_t::replace);
    if (buffer_.size() >= (1u << 20)) flush();
  }
  void flush() {
    std::cout.write(buffer_.data(), static_cast<std::streamsize>(buffer_.size()));
    buffer_.clear();
  }

 private:
  std::string buffer_;
  std::size_t records_ = 0;
};

// The shortest text that reads back as the same double.
std::string real_text(double value) {
  char buffer[64];
  const auto end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
  return std::string(buffer, end);
}

const char* tag_name(GeometryTag tag) {
  switch (tag) {
    case GeometryTag::int16: return "i16";
    case GeometryTag::real: return "f64";
    case GeometryTag::empty: break;
  }
  return "empty";
}

std::string value_text(const TaggedValue& value) {
  switch (value.tag) {
    case GeometryTag::int16: return std::string("i16:") + std::to_string(static_cast<int>(value.value));
    case GeometryTag::real: return "f64:" + real_text(value.value);
    case GeometryTag::empty: break;
  }
  return "empty";
}

Json value_json(const TaggedValue& value) {
  Json json;
  json["type"] = tag_name(value.tag);
  if (value.tag == GeometryTag::empty) {
    json["value"] = nullptr;
  } else if (value.tag == GeometryTag::int16) {
    json["value"] = static_cast<int>(value.value);
  } else {
    json["value"] = value.value;
  }
  return json;
}

// Texts are bytes: printable ASCII as it is, the rest as \xNN.
std::string quoted(const std::string& text) {
  static const char* digits = "0123456789abcdef";
  std::string out = "\"";
  for (unsigned char c : text) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c < 0x20 || c >= 0x7F) {
      out += "\\x";
      out += digits[c >> 4];
      out += digits[c & 15];
    } else {
      out += static_cast<char>(c);
    }
  }
  return out + "\"";
}

void print_geometry(const DecodedGeometry& geometry, bool json, Printer& out) {
  for (std::size_t m = 0; m < geometry.x.size(); ++m) {
    if (json) {
      Json record;
      record["metre"] = m;
      record["x"] = value_json(geometry.x[m]);
      record["y"] = value_json(geometry.y[m]);
      out.json_record(record);
    } else {
      out.line("metre=" + std::to_string(m) + " x=" + value_text(geometry.x[m]) +
               " y=" + value_text(geometry.y[m]));
    }
  }
}

void print_table(const RecordTable& table, bool json, Printer& out) {
  for (std::size_t index = 0; index < table.rows.size(); ++index) {
    const TableRow& r = table.rows[index];
    const std::pair<const char*, std::int64_t> before_text[] = {
        {"kind", r.kind}, {"num_a", r.num_a}, {"num_b", r.num_b}, {"num_c", r.num_c},
        {"flag", r.flag}};
    const std::pair<const char*, std::int64_t> after_text[] = {
        {"word_a", r.word_a}, {"word_b", r.word_b}, {"word_c", r.word_c},
        {"word_d", r.word_d}, {"word_e", r.word_e}, {"byte_a", r.byte_a},
        {"byte_b", r.byte_b}, {"byte_c", r.byte_c}, {"byte_d", r.byte_d},
        {"num_d", r.num_d}};
    if (json) {
      Json record;
      record["row"] = index;
      for (const auto& [name, value] : before_text) record[name] = value;
      record["text"] = r.text;
      for (const auto& [name, value] : after_text) record[name] = value;
      out.json_record(record);
    } else {
      std::string line = "row=" + std::to_string(index);
      for (const auto& [name, value] : before_text) {
        line += std::string(" ") + name + "=" + std::to_string(value);
      }
      line += " text=" + quoted(r.text);
      for (const auto& [name, value] : after_text) {
        line += std::string(" ") + name + "=" + std::to_string(value);
      }
      out.line(line);
    }
  }
}

void print_grid(const CellGrid& grid, bool json, Printer& out) {
  for (std::size_t index = 0; index < grid.cells.size(); ++index) {
    const TrackCell& c = grid.cells[index];
    const char* kind_name = *cell_kind_name(c.kind) != '\0' ? cell_kind_name(c.kind) : "unknown";
    const std::pair<const char*, std::int64_t> fields[] = {
        {"val_a", c.val_a},       {"val_b", c.val_b},
        {"val_c", c.val_c},       {"val_d", c.val_d},
        {"timer", c.timer},       {"approach", c.approach},
        {"tunnel", c.tunnel},     {"speed_limit", c.speed_limit},
        {"gradient", c.gradient}, {"adhesion", c.adhesion}};
    if (json) {
      Json record;
      record["cell"] = index;
      record["kind"] = c.kind;
      record["kind_name"] = kind_name;
      for (const auto& [name, value] : fields) record[name] = value;
      out.json_record(record);
    } else {
      std::string line = "cell=" + std::to_string(index) + " kind=" + std::to_string(c.kind) +
                         " kind_name=" + kind_name;
      for (const auto& [name, value] : fields) {
        line += std::string(" ") + name + "=" + std::to_string(value);
      }
      out.line(line);
    }
  }
}

const char* kind_label(ScenarioFileKind kind) {
  switch (kind) {
    case ScenarioFileKind::plan_geometry: return "plan_geometry";
    case ScenarioFileKind::record_table: return "record_table";
    case ScenarioFileKind::cell_grid: break;
  }
  return "cell_grid";
}

const char* kind_description(ScenarioFileKind kind) {
  switch (kind) {
    case ScenarioFileKind::plan_geometry: return "plan geometry";
    case ScenarioFileKind::record_table: return "record table";
    case ScenarioFileKind::cell_grid: break;
  }
  return "cell grid";
}

}  // namespace

int run_dump(const std::string& path, bool json) {
  const std::optional<ScenarioFileKind> kind = scenario_file_kind(bare_name(path));
  if (!kind) {
    std::cerr << "scenario-compiler: '" << path
              << "' is not a scenario file name (expected _linea.dat, .sim or .dat)" << std::endl;
    return exit_status::kUsage;
  }
  DiskFileSystem disk;
  std::string bytes;
  if (IoResult result = disk.read(path, bytes); !result.ok) {
    std::cerr << "scenario-compiler: " << result.message << std::endl;
    return exit_status::kFileError;
  }
  DecodedGeometry geometry;
  RecordTable table;
  CellGrid grid;
  std::string error;
  bool decoded = false;
  switch (*kind) {
    case ScenarioFileKind::plan_geometry: decoded = decode_plan_geometry(bytes, geometry, error); break;
    case ScenarioFileKind::record_table: decoded = decode_record_table(bytes, table, error); break;
    case ScenarioFileKind::cell_grid: decoded = decode_cell_grid(bytes, grid, error); break;
  }
  if (!decoded) {
    std::cerr << "scenario-compiler: '" << path << "' is not a valid " << kind_description(*kind)
              << " file: " << error << std::endl;
    return exit_status::kFileError;
  }
  bytes = std::string();  // the decoded records take its place

  {
    Printer out;
    if (json) {
      Json head;
      head["file"] = bare_name(path);
      head["kind"] = kind_label(*kind);
      std::string text = head.dump(-1, ' ', false, Json::error_handler_t::replace);
      text.pop_back();  // the records array goes inside the object
      out.line(text + ",\"records\":[");
    }
    switch (*kind) {
      case ScenarioFileKind::plan_geometry: print_geometry(geometry, json, out); break;
      case ScenarioFileKind::record_table: print_table(table, json, out); break;
      case ScenarioFileKind::cell_grid: print_grid(grid, json, out); break;
    }
    if (json) out.line("\n]}");
  }
  std::cout.flush();
  if (!std::cout) {
    std::cerr << "scenario-compiler: cannot write standard output" << std::endl;
    return exit_status::kFileError;
  }
  return exit_status::kSuccess;
}

}  // namespace scenario
