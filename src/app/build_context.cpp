#include "app/build_context.h"

namespace scenario {

void delete_source(BuildContext& context, const std::string& path) {
  if (!context.delete_sources || !context.files.exists(path)) return;
  IoResult result = context.files.remove(path);
  if (!result.ok && !context.file_error) context.file_error = result.message;
}

}  // namespace scenario
