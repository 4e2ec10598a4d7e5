# nlohmann-json for vexa-decode's JSON output: the package's own CMake target
# when find_package sees it (native builds), else an imported target over
# the host's header-only copy. The MinGW find roots hide that copy, and
# /usr/include itself must not reach a cross build, so a directory in the
# build tree exposes its nlohmann/ folder alone.
if(TARGET nlohmann_json::nlohmann_json)
  return()
endif()
if(NOT CMAKE_CROSSCOMPILING)
  # A cross build must not take the host package: its target names /usr/include.
  find_package(nlohmann_json 3.2 CONFIG QUIET)
  if(nlohmann_json_FOUND)
    return()
  endif()
endif()

find_path(VEXA_NLOHMANN_JSON_ROOT nlohmann/json.hpp
          PATHS /usr/include /usr/local/include
          NO_CMAKE_FIND_ROOT_PATH NO_DEFAULT_PATH)
if(NOT VEXA_NLOHMANN_JSON_ROOT)
  message(FATAL_ERROR "nlohmann/json.hpp not found: install nlohmann-json3-dev "
                      "or set VEXA_NLOHMANN_JSON_ROOT to the folder that holds nlohmann/")
endif()
set(exposed ${CMAKE_BINARY_DIR}/third-party/nlohmann-json/include)
file(MAKE_DIRECTORY ${exposed})
if(NOT EXISTS ${exposed}/nlohmann/json.hpp)
  file(CREATE_LINK ${VEXA_NLOHMANN_JSON_ROOT}/nlohmann ${exposed}/nlohmann SYMBOLIC)
endif()
add_library(nlohmann_json::nlohmann_json INTERFACE IMPORTED GLOBAL)
set_target_properties(nlohmann_json::nlohmann_json PROPERTIES
                      INTERFACE_INCLUDE_DIRECTORIES ${exposed})
