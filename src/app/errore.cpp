#include "app/errore.h"

#include "app/platform.h"

namespace scenario {

std::string fatal_message(const std::string& number) { return " Errore n. " + number; }

void errore(const std::string& number) {
  show_error_box(fatal_message(number));
}

}  // namespace scenario
