#pragma once

#include <cstdint>

#include "sources/field_reader.h"

namespace scenario {

/// An 8-bit unsigned field of the train source: 0..255, else a read failure.
inline bool read_byte_field(FieldReader& fields, std::uint8_t& value) {
  std::int32_t number = 0;
  if (!fields.read_number_in(number, 0, 255)) return false;
  value = static_cast<std::uint8_t>(number);
  return true;
}

/// A 16-bit signed field of the train source: -32768..32767, else a read failure.
inline bool read_word_field(FieldReader& fields, std::int16_t& value) {
  std::int32_t number = 0;
  if (!fields.read_number_in(number, -32768, 32767)) return false;
  value = static_cast<std::int16_t>(number);
  return true;
}

}  // namespace scenario
