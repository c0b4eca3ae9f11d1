# Writes OUTPUT, a C++ file that defines scenario::build_commit(): the commit
# the program is built from (its hash, with "-dirty" when tracked files differ
# from it), or "unknown" when SOURCE_DIR is not the top of a git checkout, as
# in a source tarball, even one unpacked inside some other repository.
# Run at every build; the file is rewritten only when its text changes, so an
# unchanged commit costs neither a compile nor a link.
#   cmake -DSOURCE_DIR=... -DOUTPUT=... -P build_commit.cmake
set(commit "unknown")
find_package(Git QUIET)
if(GIT_FOUND)
  execute_process(COMMAND "${GIT_EXECUTABLE}" rev-parse --show-toplevel
                  WORKING_DIRECTORY "${SOURCE_DIR}" RESULT_VARIABLE failed
                  OUTPUT_VARIABLE top OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
  if(NOT failed)
    file(REAL_PATH "${top}" top)
    file(REAL_PATH "${SOURCE_DIR}" source)
    if(top STREQUAL source)
      # --exclude=* leaves tags out: always the hash, never a tag's name.
      execute_process(COMMAND "${GIT_EXECUTABLE}" describe --always --dirty --abbrev=12
                              --exclude=*
                      WORKING_DIRECTORY "${SOURCE_DIR}" RESULT_VARIABLE failed
                      OUTPUT_VARIABLE described OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
      if(NOT failed AND described MATCHES "^[0-9a-f]+(-dirty)?$")
        set(commit "${described}")
      endif()
    endif()
  endif()
endif()

set(text "// Written by cmake/build_commit.cmake at build time.
#include \"app/version.h\"

namespace scenario {
std::string_view build_commit() { return \"${commit}\"; }
}  // namespace scenario
")
if(EXISTS "${OUTPUT}")
  file(READ "${OUTPUT}" old)
endif()
if(NOT old STREQUAL text)
  file(WRITE "${OUTPUT}" "${text}")
endif()
