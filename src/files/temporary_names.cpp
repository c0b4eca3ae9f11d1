#include "files/temporary_names.h"

#include <charconv>
#include <vector>

namespace scenario {
namespace {

constexpr std::string_view kMarker = ".tmp.";

// Splits "12.34.5" into its numbers; none when a part is empty, holds
// anything but decimal digits or does not fit 64 bits.
std::optional<std::vector<std::uint64_t>> numbers_of(std::string_view text) {
  std::vector<std::uint64_t> numbers;
  for (;;) {
    const std::size_t dot = text.find('.');
    const std::string_view part = text.substr(0, dot);
    std::uint64_t value = 0;
    const auto [end, error] = std::from_chars(part.data(), part.data() + part.size(), value);
    if (part.empty() || error != std::errc() || end != part.data() + part.size()) {
      return std::nullopt;
    }
    numbers.push_back(value);
    if (dot == std::string_view::npos) return numbers;
    text.remove_prefix(dot + 1);
  }
}

}  // namespace

std::string temporary_name(const std::string& path, const TemporaryOwner& owner,
                           unsigned attempt) {
  std::string name = path;
  name.append(kMarker);
  name.append(std::to_string(owner.process_id));
  name.push_back('.');
  name.append(std::to_string(owner.start_time.value_or(0)));
  name.push_back('.');
  name.append(std::to_string(attempt));
  return name;
}

std::optional<TemporaryOwner> temporary_owner(std::string_view entry, std::string_view target_name) {
  if (target_name.empty() || !entry.starts_with(target_name)) return std::nullopt;
  entry.remove_prefix(target_name.size());
  if (!entry.starts_with(kMarker)) return std::nullopt;
  entry.remove_prefix(kMarker.size());
  const auto numbers = numbers_of(entry);
  // Process id 0 is no process this program ran as.
  if (!numbers || numbers->front() == 0) return std::nullopt;
  if (numbers->size() == 2) return TemporaryOwner{numbers->front(), std::nullopt};
  if (numbers->size() == 3) {
    // A start time of 0 was written when the program could not learn its own.
    const std::uint64_t start = (*numbers)[1];
    return TemporaryOwner{numbers->front(), start == 0 ? std::nullopt : std::optional(start)};
  }
  return std::nullopt;
}

bool temporary_is_stale(const TemporaryOwner& owner, bool running,
                        std::optional<std::uint64_t> running_start_time) {
  if (!running) return true;
  // The id has been given to another process since the file was made.
  return owner.start_time && running_start_time && *owner.start_time != *running_start_time;
}

}  // namespace scenario
