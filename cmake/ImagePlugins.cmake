# One picture plug-in: the shared picture frame with one game's profile. The
# plug-in's folder holds the profile, PluginReader.h (which names the reader
# class), Description.h (its kind, version and file names) and the
# module-definition file NAME.def. Uses kvp_register_plugin and
# kvp_plugin_properties from Plugins.cmake.
function(add_image_plugin name)
  kvp_register_plugin(${name} image ${ARGN})
  if(NOT WIN32)
    return()
  endif()
  set(dir ${CMAKE_CURRENT_SOURCE_DIR})
  add_library(${name}_exports OBJECT
    ${CMAKE_SOURCE_DIR}/common/CommonExports.cpp
    ${CMAKE_SOURCE_DIR}/image/ImageExports.cpp
  )
  target_include_directories(${name}_exports PRIVATE ${dir} ${CMAKE_SOURCE_DIR})

  add_library(${name} SHARED
    ${ARGN}
    $<TARGET_OBJECTS:${name}_exports>
    ${CMAKE_SOURCE_DIR}/common/DllMain.cpp
    ${CMAKE_SOURCE_DIR}/common/LoadFile.cpp
    ${dir}/${name}.def
  )
  kvp_plugin_properties(${name})
  target_link_libraries(${name} PRIVATE kvp_image_core)
endfunction()
