#include "lsp/document.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "files/file_names.h"

namespace scenario {
namespace {

int hex_digit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool unreserved(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
         c == '-' || c == '.' || c == '_' || c == '~' || c == '/';
}

}  // namespace

std::optional<SourceName> source_name_of(std::string_view file_name) {
  constexpr std::string_view kLine = "_linea.txt";
  constexpr std::string_view kTrain = "-.txt";
  if (file_name.size() > kLine.size() && file_name.ends_with(kLine)) {
    return SourceName{SourceKind::line, std::string(file_name.substr(0, file_name.size() - kLine.size())), ""};
  }
  if (!file_name.ends_with(kTrain)) return std::nullopt;
  const std::string_view stem = file_name.substr(0, file_name.size() - kTrain.size());
  const std::size_t underscore = stem.rfind('_');
  if (underscore == std::string_view::npos || underscore == 0 || underscore + 1 == stem.size()) {
    return std::nullopt;
  }
  return SourceName{SourceKind::train, std::string(stem.substr(0, underscore)),
                    std::string(stem.substr(underscore + 1))};
}

std::optional<std::string> path_of_uri(std::string_view uri) {
  constexpr std::string_view kScheme = "file://";
  if (uri.size() < kScheme.size() ||
      !std::equal(kScheme.begin(), kScheme.end(), uri.begin(),
                  [](char a, char b) { return a == (b >= 'A' && b <= 'Z' ? b + 32 : b); })) {
    return std::nullopt;
  }
  std::string_view rest = uri.substr(kScheme.size());
  // "file://host/path": only the local host is this machine.
  const std::size_t slash = rest.find('/');
  if (slash == std::string_view::npos) return std::nullopt;
  const std::string_view host = rest.substr(0, slash);
  if (!host.empty() && host != "localhost") return std::nullopt;
  rest = rest.substr(slash);
  std::string path;
  for (std::size_t i = 0; i < rest.size(); ++i) {
    if (rest[i] == '%' && i + 2 < rest.size() && hex_digit(rest[i + 1]) >= 0 &&
        hex_digit(rest[i + 2]) >= 0) {
      path += static_cast<char>(hex_digit(rest[i + 1]) * 16 + hex_digit(rest[i + 2]));
      i += 2;
    } else {
      path += rest[i];
    }
  }
#ifdef _WIN32
  // "/C:/folder" is "C:\folder".
  if (path.size() >= 3 && path[0] == '/' && path[2] == ':') path.erase(0, 1);
  std::replace(path.begin(), path.end(), '/', '\\');
#endif
  if (path.find('\0') != std::string::npos) return std::nullopt;
  return path;
}

std::string uri_of_path(std::string_view path) {
  std::string generic(path);
#ifdef _WIN32
  std::replace(generic.begin(), generic.end(), '\\', '/');
  if (generic.size() >= 2 && generic[1] == ':') generic = "/" + generic;
#endif
  std::string uri = "file://";
  constexpr char kHex[] = "0123456789ABCDEF";
  for (const char c : generic) {
    if (unreserved(c)) {
      uri += c;
    } else {
      const auto byte = static_cast<unsigned char>(c);
      uri += '%';
      uri += kHex[byte >> 4];
      uri += kHex[byte & 15];
    }
  }
  return uri;
}

void Document::set_text(std::string new_text, const Cp1252Encoder& encoder) {
  text = std::move(new_text);
  lines = split_lines(text);
  encoded = encoder.encode(text);
  byte_lines_ = split_lines(encoded.bytes);
  entries = read_entries(encoded.bytes, name.kind);
}

std::string_view Document::byte_line(std::int32_t line) const {
  if (line < 1 || static_cast<std::size_t>(line) > byte_lines_.size()) return {};
  return byte_lines_[static_cast<std::size_t>(line) - 1];
}

nlohmann::json Document::position(std::int32_t line, std::int32_t column,
                                  PositionEncoding encoding) const {
  if (line < 1) line = 1;
  if (lines.empty() || static_cast<std::size_t>(line) > lines.size()) {
    const std::int32_t last = static_cast<std::int32_t>(lines.size()) - 1;
    return {{"line", std::max(last, 0)},
            {"character", lines.empty() ? 0 : units_of(lines.back(), INT32_MAX, encoding)}};
  }
  const std::int32_t characters = std::max(column, 1) - 1;
  return {{"line", line - 1},
          {"character", units_of(lines[static_cast<std::size_t>(line) - 1], characters, encoding)}};
}

nlohmann::json Document::range(std::int32_t line, std::int32_t column, std::int32_t end_column,
                               PositionEncoding encoding) const {
  return {{"start", position(line, column, encoding)},
          {"end", position(line, std::max(column, end_column), encoding)}};
}

std::pair<std::int32_t, std::int32_t> Document::place(const nlohmann::json& position,
                                                      PositionEncoding encoding) const {
  const std::int64_t line = client_whole_number(position.at("line"));
  const std::int64_t character = client_whole_number(position.at("character"));
  if (line < 0 || lines.empty()) return {1, 1};
  if (static_cast<std::size_t>(line) >= lines.size()) {
    return {static_cast<std::int32_t>(lines.size()),
            characters_of(lines.back(), INT32_MAX, encoding) + 1};
  }
  const std::int32_t units =
      static_cast<std::int32_t>(std::clamp<std::int64_t>(character, 0, INT32_MAX));
  return {static_cast<std::int32_t>(line) + 1,
          characters_of(lines[static_cast<std::size_t>(line)], units, encoding) + 1};
}

const SourceEntry* Document::entry_at(std::int32_t line, std::int32_t column) const {
  // The entry whose key starts last at or before the place, if the place is
  // within its key or values (or between them on their lines).
  const SourceEntry* found = nullptr;
  for (const SourceEntry& entry : entries.entries) {
    const bool starts_before =
        entry.key.line < line || (entry.key.line == line && entry.key.column <= column);
    if (!starts_before) break;
    found = &entry;
  }
  if (found == nullptr) return nullptr;
  std::int32_t last_line = found->key.line;
  std::int32_t last_end = found->key.end_column;
  if (!found->values.empty()) {
    last_line = found->values.back().line;
    last_end = found->values.back().end_column;
  }
  if (line > last_line) return nullptr;
  // Past the last value of a complete entry is no longer the entry.
  if (line == last_line && column > last_end + 1 && found->complete &&
      found->values.size() == found->keyword->fields.size()) {
    return nullptr;
  }
  return found;
}

std::int64_t client_whole_number(const nlohmann::json& value) {
  if (value.is_number_unsigned()) {
    return static_cast<std::int64_t>(
        std::min<std::uint64_t>(value.get<std::uint64_t>(), std::numeric_limits<std::int64_t>::max()));
  }
  if (value.is_number_float()) {
    const double real = value.get<double>();
    constexpr double kExactWhole = 9007199254740992.0;  // 2^53
    if (!(std::fabs(real) <= kExactWhole) || real != std::floor(real)) {
      throw nlohmann::json::type_error::create(302, "expected a whole number", &value);
    }
    return static_cast<std::int64_t>(real);
  }
  return value.get<std::int64_t>();  // an integer, or the library's type error
}

}  // namespace scenario
