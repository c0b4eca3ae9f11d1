#pragma once

// The fields of a record-table row and of a cell, in their order on disk, with
// their widths: the one list that the writer, the decoder and the dump follow.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>
#include <type_traits>
#include <variant>

#include "model/cell_grid.h"
#include "model/record_table.h"
#include "files/coding.h"

namespace scenario {

/// One stored field: its name and the member it lives in. The member's type
/// gives the width: u8, i16, i32, or a text behind a u16 byte count.
template <class Record, class... Types>
struct RecordField {
  using Member = std::variant<Types Record::*...>;
  const char* name;
  Member member;
};

// A cell has no text and no 32-bit field; leaving them out of its variant
// keeps the compiler from looking for a string inside a cell.
using RowField = RecordField<TableRow, std::uint8_t, std::int16_t, std::int32_t, std::string>;
using CellField = RecordField<TrackCell, std::uint8_t, std::int16_t>;

inline const RowField kRowFields[] = {
    {"kind", &TableRow::kind},     {"num_a", &TableRow::num_a},   {"num_b", &TableRow::num_b},
    {"num_c", &TableRow::num_c},   {"flag", &TableRow::flag},     {"text", &TableRow::text},
    {"word_a", &TableRow::word_a}, {"word_b", &TableRow::word_b}, {"word_c", &TableRow::word_c},
    {"word_d", &TableRow::word_d}, {"word_e", &TableRow::word_e}, {"byte_a", &TableRow::byte_a},
    {"byte_b", &TableRow::byte_b}, {"byte_c", &TableRow::byte_c}, {"byte_d", &TableRow::byte_d},
    {"num_d", &TableRow::num_d},
};

inline const CellField kCellFields[] = {
    {"kind", &TrackCell::kind},         {"val_a", &TrackCell::val_a},
    {"val_b", &TrackCell::val_b},       {"val_c", &TrackCell::val_c},
    {"val_d", &TrackCell::val_d},       {"timer", &TrackCell::timer},
    {"approach", &TrackCell::approach}, {"tunnel", &TrackCell::tunnel},
    {"speed_limit", &TrackCell::speed_limit}, {"gradient", &TrackCell::gradient},
    {"adhesion", &TrackCell::adhesion},
};

/// Calls `visit` with the member pointer `field` holds. The alternatives are
/// tested in turn, which the compiler inlines: std::visit calls through a
/// table of functions, once for every field of every record read or written.
template <std::size_t I = 0, class Variant, class Visit>
decltype(auto) visit_member(const Variant& member, Visit&& visit) {
  if constexpr (I + 1 == std::variant_size_v<Variant>) {
    return visit(*std::get_if<I>(&member));
  } else {
    if (member.index() == I) return visit(*std::get_if<I>(&member));
    return visit_member<I + 1>(member, visit);
  }
}

/// A text longer than its 16-bit count can say is stored cut at 65535 bytes,
/// so the count always matches the bytes that follow it.
inline std::size_t stored_text_size(const std::string& text) {
  return std::min<std::size_t>(text.size(), std::numeric_limits<std::uint16_t>::max());
}

/// Whether a field is the row's text.
template <class Record, class... Types>
bool is_text(const RecordField<Record, Types...>& field) {
  return visit_member(
      field.member,
      [](auto member) { return std::is_same_v<decltype(member), std::string Record::*>; });
}

/// The number a field holds (0 for a text).
template <class Record, class... Types>
std::int64_t field_number(const Record& record, const RecordField<Record, Types...>& field) {
  return visit_member(
      field.member,
      [&](auto member) -> std::int64_t {
        if constexpr (std::is_same_v<decltype(member), std::string Record::*>) {
          return 0;
        } else {
          return record.*member;
        }
      });
}

/// Stores one field at `at`, which has room for it (a text: its count and
/// `stored_text_size` bytes), and returns the byte after it: for a writer
/// that sizes its output once.
template <class Record, class... Types>
char* store_field(char* at, const Record& record, const RecordField<Record, Types...>& field) {
  return visit_member(
      field.member,
      [&](auto member) -> char* {
        using Member = decltype(member);
        if constexpr (std::is_same_v<Member, std::uint8_t Record::*>) {
          *at = static_cast<char>(record.*member);
          return at + 1;
        } else if constexpr (std::is_same_v<Member, std::int16_t Record::*>) {
          return store_u16(at, static_cast<std::uint16_t>(record.*member));
        } else if constexpr (std::is_same_v<Member, std::int32_t Record::*>) {
          return store_u32(at, static_cast<std::uint32_t>(record.*member));
        } else {
          const std::string& text = record.*member;
          const std::size_t size = stored_text_size(text);
          at = store_u16(at, static_cast<std::uint16_t>(size));
          return std::copy_n(text.data(), size, at);
        }
      });
}

/// The bytes a field takes in its stored form.
template <class Record, class... Types>
std::size_t stored_size(const Record& record, const RecordField<Record, Types...>& field) {
  return visit_member(field.member, [&](auto member) -> std::size_t {
    if constexpr (std::is_same_v<decltype(member), std::string Record::*>) {
      return 2 + stored_text_size(record.*member);
    } else {
      return sizeof(record.*member);
    }
  });
}

/// Appends one field in its stored form.
template <class Record, class... Types>
void put_field(std::string& out, const Record& record, const RecordField<Record, Types...>& field) {
  const std::size_t at = out.size();
  out.resize(at + stored_size(record, field));
  store_field(out.data() + at, record, field);
}

/// Reads one field; false when the bytes end before it.
template <class Record, class... Types>
bool get_field(ByteReader& reader, Record& record, const RecordField<Record, Types...>& field) {
  return visit_member(
      field.member,
      [&](auto member) {
        using Member = decltype(member);
        if constexpr (std::is_same_v<Member, std::uint8_t Record::*>) {
          return reader.get_u8(record.*member);
        } else if constexpr (std::is_same_v<Member, std::int16_t Record::*>) {
          return reader.get_i16(record.*member);
        } else if constexpr (std::is_same_v<Member, std::int32_t Record::*>) {
          return reader.get_i32(record.*member);
        } else {
          std::uint16_t size = 0;
          return reader.get_u16(size) && reader.get_bytes(size, record.*member);
        }
      });
}

/// Appends a whole record, field by field.
template <class Record, class Field, std::size_t N>
void put_record(std::string& out, const Record& record, const Field (&fields)[N]) {
  for (const auto& field : fields) put_field(out, record, field);
}

/// Reads a whole record; false when the bytes end inside it.
template <class Record, class Field, std::size_t N>
bool get_record(ByteReader& reader, Record& record, const Field (&fields)[N]) {
  for (const auto& field : fields) {
    if (!get_field(reader, record, field)) return false;
  }
  return true;
}

}  // namespace scenario
