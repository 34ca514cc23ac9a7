# Two test plug-ins from the plug-ins' own export sources, with readers that
# throw (ThrowingReader.h); never part of a release.
if(NOT TARGET plugin_tests)
  return()
endif()

set(throwing_dir ${CMAKE_BINARY_DIR}/tests/throwing-plugins)
# GetPluginInfo's strings, from the Description.h of the game each wraps.
set_source_files_properties(${CMAKE_SOURCE_DIR}/common/PluginStrings.cpp PROPERTIES COMPILE_OPTIONS -fexec-charset=CP932)

# add_throwing_plugin(NAME KIND SOURCES ... [EXCEPT EXPORT...]): EXCEPT names
# the exports of its kind it has not (the replay one has no comment editor).
function(add_throwing_plugin name kind)
  cmake_parse_arguments(PARSE_ARGV 2 arg "" "" "SOURCES;EXCEPT")
  set(dir ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/${kind})
  set(definition ${CMAKE_CURRENT_BINARY_DIR}/${name}.def)
  kvp_write_export_definition(${name} ${kind} ${definition} EXCEPT ${arg_EXCEPT})
  add_library(${name} SHARED
    ${CMAKE_SOURCE_DIR}/common/CommonExports.cpp
    ${CMAKE_SOURCE_DIR}/common/DllMain.cpp
    ${CMAKE_SOURCE_DIR}/common/PluginStrings.cpp
    ${definition}
    ${arg_SOURCES}
  )
  set_target_properties(${name} PROPERTIES PREFIX "" SUFFIX ".kvp"
    RUNTIME_OUTPUT_DIRECTORY ${throwing_dir} LIBRARY_OUTPUT_DIRECTORY ${throwing_dir})
  target_include_directories(${name} PRIVATE ${dir} ${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/tests)
  target_link_options(${name} PRIVATE -Wl,--enable-stdcall-fixup -static)
  add_dependencies(plugin_tests ${name})
endfunction()

add_throwing_plugin(throwing-replay replay SOURCES ${CMAKE_SOURCE_DIR}/replay/ReplayExports.cpp EXCEPT EditDialog)
target_link_libraries(throwing-replay PRIVATE kvp_replay_profiles kvp_comment_files)

add_throwing_plugin(throwing-image image
  SOURCES ${CMAKE_SOURCE_DIR}/image/ImageExports.cpp ${CMAKE_SOURCE_DIR}/common/LoadFile.cpp)
target_link_libraries(throwing-image PRIVATE kvp_image_profiles)

# The test runs only where the Wine tests run (KVP_WINE_TESTS).
if(TEST plugin_tests)
  set_property(TEST plugin_tests APPEND PROPERTY ENVIRONMENT KVP_TEST_PLUGIN_DIR=Z:${throwing_dir})
endif()
