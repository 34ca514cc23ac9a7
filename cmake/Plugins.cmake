# Every folder of plugins/ is one plug-in: its CMakeLists.txt calls
# add_replay_plugin or add_image_plugin with its profile's sources. Every
# build knows every plug-in from there: the global property KVP_PLUGINS names
# them, KVP_KIND_<name> says replay or image and KVP_DIR_<name> is the
# plug-in's folder. Every build puts the profile into kvp_replay_profiles or
# kvp_image_profiles; the Windows builds also make the .kvp.
include(${CMAKE_CURRENT_LIST_DIR}/PluginExports.cmake)

if(WIN32)
  enable_language(RC)
  include(${CMAKE_CURRENT_LIST_DIR}/VersionResource.cmake)

  # The comment write-back on the Windows file system (also linked into the
  # Wine tests, which make its steps fail).
  add_library(kvp_comment_files STATIC
    ${CMAKE_SOURCE_DIR}/replay/WindowsFileSystem.cpp
    ${CMAKE_SOURCE_DIR}/replay/WriteCommentOnDisk.cpp
    ${CMAKE_SOURCE_DIR}/common/LoadFile.cpp
  )
  target_link_libraries(kvp_comment_files PUBLIC kvp_replay_core)
endif()

# Records the plug-in of the calling folder and adds its profile's sources
# (relative to that folder) to the library of every game of its kind.
function(kvp_register_plugin name kind)
  set_property(GLOBAL APPEND PROPERTY KVP_PLUGINS ${name})
  set_property(GLOBAL PROPERTY KVP_KIND_${name} ${kind})
  set_property(GLOBAL PROPERTY KVP_DIR_${name} ${CMAKE_CURRENT_SOURCE_DIR})
  list(TRANSFORM ARGN PREPEND ${CMAKE_CURRENT_SOURCE_DIR}/ OUTPUT_VARIABLE profile)
  target_sources(kvp_${kind}_profiles PRIVATE ${profile})
endfunction()

# One replay plug-in: the shared replay frame with one game's profile. The
# plug-in's folder holds the profile and Description.h, the facts the rest is
# made from (common/PluginDescription.h).
function(add_replay_plugin name)
  kvp_add_plugin(${name} replay "${ARGN}"
    EXPORTS replay/ReplayExports.cpp editor/EditDialogExport.cpp editor/CEditDialog.cpp editor/CDialogBase.cpp
    SOURCES editor/EditDialog.rc
    LIBRARIES kvp_comment_files kvp_editor kvp_replay_core user32 gdi32)
endfunction()

# One picture plug-in: the shared picture frame with one game's profile; its
# folder holds the same files as a replay plug-in's.
function(add_image_plugin name)
  kvp_add_plugin(${name} image "${ARGN}"
    EXPORTS image/ImageExports.cpp
    SOURCES common/LoadFile.cpp
    LIBRARIES kvp_image_core)
endfunction()

# kvp_add_plugin(NAME KIND PROFILE-SOURCES EXPORTS ... SOURCES ... LIBRARIES ...):
# records the plug-in and, on Windows, makes NAME.kvp of its profile, the
# exports every plug-in has and those of its kind (paths from the top of the
# tree), the kind's other sources and libraries, and the export definition
# of its kind (cmake/PluginExports.cmake). The exports' objects are an OBJECT
# library named NAME_exports (the export check reads their symbols).
function(kvp_add_plugin name kind profile)
  kvp_register_plugin(${name} ${kind} ${profile})
  if(NOT WIN32)
    return()
  endif()
  cmake_parse_arguments(PARSE_ARGV 3 arg "" "" "EXPORTS;SOURCES;LIBRARIES")
  list(TRANSFORM arg_EXPORTS PREPEND ${CMAKE_SOURCE_DIR}/)
  list(TRANSFORM arg_SOURCES PREPEND ${CMAKE_SOURCE_DIR}/)
  set(dir ${CMAKE_CURRENT_SOURCE_DIR})
  set(definition ${CMAKE_CURRENT_BINARY_DIR}/${name}.def)
  kvp_write_export_definition(${name} ${kind} ${definition})
  add_library(${name}_exports OBJECT ${CMAKE_SOURCE_DIR}/common/CommonExports.cpp ${arg_EXPORTS})
  target_include_directories(${name}_exports PRIVATE ${dir} ${CMAKE_SOURCE_DIR})

  add_library(${name} SHARED
    ${profile}
    $<TARGET_OBJECTS:${name}_exports>
    ${CMAKE_SOURCE_DIR}/common/DllMain.cpp
    ${arg_SOURCES}
    ${definition}
  )
  set_target_properties(${name} PROPERTIES PREFIX "" SUFFIX ".kvp"
    RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/plugins
    LIBRARY_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/plugins)
  target_include_directories(${name} PRIVATE ${dir} ${CMAKE_SOURCE_DIR})
  # The .def names the exports undecorated; stdcall symbols carry @N.
  target_link_options(${name} PRIVATE -Wl,--enable-stdcall-fixup -static -s)
  # GetPluginInfo's strings and the version resource, both from the folder's
  # Description.h. It is UTF-8; the host reads Shift-JIS.
  set(strings ${CMAKE_SOURCE_DIR}/common/PluginStrings.cpp)
  target_sources(${name} PRIVATE ${strings})
  set_source_files_properties(${strings} PROPERTIES COMPILE_OPTIONS -fexec-charset=CP932)
  kvp_plugin_version_resource(${name})
  target_link_libraries(${name} PRIVATE ${arg_LIBRARIES})
endfunction()
