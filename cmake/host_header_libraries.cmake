# In a cross-build, CLI11 and nlohmann-json (header-only) come from the host's
# Debian packages. Their package configs would put all of /usr/include on the
# include path, glibc's headers included; instead a folder in the build tree
# holds links to just their two header folders, and the usual targets point there.
foreach(header IN ITEMS CLI/CLI.hpp nlohmann/json.hpp)
  string(MAKE_C_IDENTIFIER "${header}" variable)
  find_path(HOST_${variable}_ROOT ${header} PATHS /usr/include /usr/local/include
            NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
  if(NOT HOST_${variable}_ROOT)
    message(FATAL_ERROR "${header} not found on the host: install libcli11-dev and nlohmann-json3-dev")
  endif()
endforeach()

set(HOST_HEADERS_DIR ${CMAKE_BINARY_DIR}/host-headers)
file(MAKE_DIRECTORY ${HOST_HEADERS_DIR})
file(CREATE_LINK ${HOST_CLI_CLI_hpp_ROOT}/CLI ${HOST_HEADERS_DIR}/CLI SYMBOLIC)
file(CREATE_LINK ${HOST_nlohmann_json_hpp_ROOT}/nlohmann ${HOST_HEADERS_DIR}/nlohmann SYMBOLIC)

add_library(CLI11::CLI11 INTERFACE IMPORTED)
set_target_properties(CLI11::CLI11 PROPERTIES INTERFACE_INCLUDE_DIRECTORIES ${HOST_HEADERS_DIR})
add_library(nlohmann_json::nlohmann_json INTERFACE IMPORTED)
set_target_properties(nlohmann_json::nlohmann_json PROPERTIES
                      INTERFACE_INCLUDE_DIRECTORIES ${HOST_HEADERS_DIR})
