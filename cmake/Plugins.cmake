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

# One replay plug-in: the shared replay frame with one game's profile. The
# plug-in's folder holds the profile, PluginReader.h (which names the reader
# class), Description.h (its title, version and file names) and the
# module-definition file NAME.def.
function(add_replay_plugin name)
  set(dir ${CMAKE_CURRENT_SOURCE_DIR})
  add_library(${name}_exports OBJECT
    ${CMAKE_SOURCE_DIR}/common/CommonExports.cpp
    ${CMAKE_SOURCE_DIR}/replay/ReplayExports.cpp
    ${CMAKE_SOURCE_DIR}/editor/EditDialogExport.cpp
    ${CMAKE_SOURCE_DIR}/editor/CEditDialog.cpp
    ${CMAKE_SOURCE_DIR}/editor/CDialogBase.cpp
  )
  target_include_directories(${name}_exports PRIVATE ${dir} ${CMAKE_SOURCE_DIR})

  add_library(${name} SHARED
    ${ARGN}
    $<TARGET_OBJECTS:${name}_exports>
    ${CMAKE_SOURCE_DIR}/common/DllMain.cpp
    ${CMAKE_SOURCE_DIR}/editor/EditDialog.rc
    ${dir}/${name}.def
  )
  kvp_plugin_properties(${name})
  target_link_libraries(${name} PRIVATE kvp_comment_files kvp_replay_core user32 gdi32)
  set_target_properties(${name} PROPERTIES KVP_KIND replay)
  set_property(GLOBAL APPEND PROPERTY KVP_PLUGINS ${name})
endfunction()

# Shared by every kind of plug-in. The exports' objects must be an OBJECT
# library named NAME_exports (the export check reads their symbols).
function(kvp_plugin_properties name)
  set_target_properties(${name} PROPERTIES PREFIX "" SUFFIX ".kvp"
    RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/plugins
    LIBRARY_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/plugins)
  target_include_directories(${name} PRIVATE ${CMAKE_CURRENT_SOURCE_DIR} ${CMAKE_SOURCE_DIR})
  # The .def names the exports undecorated; stdcall symbols carry @N.
  target_link_options(${name} PRIVATE -Wl,--enable-stdcall-fixup -static -s)
  # GetPluginInfo's strings and the version resource, both from the folder's
  # Description.h. It is UTF-8; the host reads Shift-JIS.
  set(strings ${CMAKE_SOURCE_DIR}/common/PluginStrings.cpp)
  target_sources(${name} PRIVATE ${strings})
  set_source_files_properties(${strings} PROPERTIES COMPILE_OPTIONS -fexec-charset=CP932)
  kvp_plugin_version_resource(${name})
endfunction()
