# Version resources: what Windows shows in a built file's properties. One
# template (VersionInfo.rc.in) for every file; each plug-in's CMakeLists.txt
# passes its version and names once, and a Wine test checks them against the
# plug-in's own GetPluginInfo strings.

# The release of the whole set (the archive's name, kvhost's version).
file(STRINGS ${CMAKE_SOURCE_DIR}/VERSION KVP_RELEASE_VERSION LIMIT_COUNT 1)
set_property(DIRECTORY ${CMAKE_SOURCE_DIR} APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/VERSION)

# The author notice, as every plug-in's string 0 ends.
set(KVP_COMPANY "the kvp-plugins authors")
set(KVP_COPYRIGHT "(C) 2026 ${KVP_COMPANY}")

# kvp_version_resource(TARGET VERSION 1.02 PRODUCT name DESCRIPTION text)
# VERSION is dotted decimal ("1.02" is 1,2,0,0); texts are UTF-8.
function(kvp_version_resource target)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "VERSION;PRODUCT;DESCRIPTION" "")
  if(NOT arg_VERSION MATCHES "^[0-9]+(\\.[0-9]+)?(\\.[0-9]+)?(\\.[0-9]+)?$")
    message(FATAL_ERROR "${target}: version '${arg_VERSION}' is not dotted decimal")
  endif()
  string(REPLACE "." ";" parts "${arg_VERSION}.0.0.0")
  set(kvp_numbers "")
  foreach(i RANGE 3)
    list(GET parts ${i} part)
    string(REGEX REPLACE "^0+([0-9])" "\\1" part "${part}")
    list(APPEND kvp_numbers ${part})
  endforeach()
  string(REPLACE ";" "," kvp_numbers "${kvp_numbers}")

  get_target_property(type ${target} TYPE)
  if(type STREQUAL "EXECUTABLE")
    set(kvp_file_type VFT_APP)
    set(kvp_file_name ${target}${CMAKE_EXECUTABLE_SUFFIX})
  else()
    set(kvp_file_type VFT_DLL)
    get_target_property(suffix ${target} SUFFIX)
    set(kvp_file_name ${target}${suffix})
  endif()

  set(rc ${CMAKE_CURRENT_BINARY_DIR}/${target}-version.rc)
  configure_file(${CMAKE_SOURCE_DIR}/cmake/VersionInfo.rc.in ${rc} @ONLY)
  target_sources(${target} PRIVATE ${rc})
endfunction()

# kvp_plugin_version(TARGET VERSION 1.02 KIND kind DESCRIPTION text): a
# plug-in's resource. KIND is its string 1, so that the product name
# "KARVO Plug-in For KIND", " Ver", the version and the author notice make
# its string 0. DESCRIPTION starts with KIND and ends with "(file pattern)".
function(kvp_plugin_version target)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "VERSION;KIND;DESCRIPTION" "")
  kvp_version_resource(${target} VERSION ${arg_VERSION}
    PRODUCT "KARVO Plug-in For ${arg_KIND}" DESCRIPTION "${arg_DESCRIPTION}")
endfunction()
