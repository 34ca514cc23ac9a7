# Version resources: what Windows shows in a built file's properties. One
# template (VersionInfo.rc.in) for every file, whose texts are macros: a
# plug-in's come from the Description.h in its folder, as its GetPluginInfo
# strings do; kvhost's from its kvp_version_resource call.

# The release of the whole set (the archive's name, kvhost's version).
file(STRINGS ${CMAKE_SOURCE_DIR}/VERSION KVP_RELEASE_VERSION LIMIT_COUNT 1)
set_property(DIRECTORY ${CMAKE_SOURCE_DIR} APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/VERSION)

# Writes TARGET's resource script, the template with kvp_texts (lines that
# define the template's macros) in front, and adds it to TARGET.
function(kvp_add_version_rc target kvp_texts)
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

# kvp_version_resource(TARGET VERSION 1.0.0 PRODUCT name DESCRIPTION text):
# a file that is not a plug-in. VERSION is dotted decimal ("1.02" is
# 1,2,0,0); texts are UTF-8.
function(kvp_version_resource target)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "VERSION;PRODUCT;DESCRIPTION" "")
  if(NOT arg_VERSION MATCHES "^[0-9]+(\\.[0-9]+)?(\\.[0-9]+)?(\\.[0-9]+)?$")
    message(FATAL_ERROR "${target}: version '${arg_VERSION}' is not dotted decimal")
  endif()
  string(REPLACE "." ";" parts "${arg_VERSION}.0.0.0")
  set(numbers "")
  foreach(i RANGE 3)
    list(GET parts ${i} part)
    string(REGEX REPLACE "^0+([0-9])" "\\1" part "${part}")
    list(APPEND numbers ${part})
  endforeach()
  string(REPLACE ";" "," numbers "${numbers}")
  kvp_add_version_rc(${target} "#include \"${CMAKE_SOURCE_DIR}/common/AuthorNotice.h\"
#define KVP_VERSION_NUMBERS ${numbers}
#define KVP_VERSION_TEXT \"${arg_VERSION}\"
#define KVP_PRODUCT_NAME \"${arg_PRODUCT}\"
#define KVP_FILE_DESCRIPTION \"${arg_DESCRIPTION}\"")
endfunction()

# kvp_plugin_version_resource(TARGET): a plug-in's, from the Description.h in
# the folder of the CMakeLists.txt that makes it.
function(kvp_plugin_version_resource target)
  kvp_add_version_rc(${target} "#include \"${CMAKE_CURRENT_SOURCE_DIR}/Description.h\"")
endfunction()
