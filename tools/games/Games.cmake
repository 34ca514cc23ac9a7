# kvp_games: every plug-in's game for the tests, the fuzz targets and the
# sample generators (tools/games/Games.h), from the plug-ins the build knows:
# GameEntry.cpp compiled in each plug-in's folder, and GameNames.inc, a
# KVP_GAME(name) line for each, which GameList.cpp reads.
get_property(kvp_plugins GLOBAL PROPERTY KVP_PLUGINS)
set(names "")
foreach(plugin IN LISTS kvp_plugins)
  if(NOT plugin MATCHES "^[a-z][a-z0-9_]*$")
    message(FATAL_ERROR "plug-in ${plugin}: its name is also a C++ name here, so lower-case letters, digits and _")
  endif()
  string(APPEND names "KVP_GAME(${plugin})\n")
endforeach()
set(generated ${CMAKE_BINARY_DIR}/generated)
file(CONFIGURE OUTPUT ${generated}/GameNames.inc CONTENT "${names}")

add_library(kvp_games STATIC ${CMAKE_CURRENT_LIST_DIR}/GameList.cpp)
target_include_directories(kvp_games PUBLIC ${CMAKE_SOURCE_DIR}/tests ${CMAKE_SOURCE_DIR} PRIVATE ${generated})
target_link_libraries(kvp_games PUBLIC kvp_replay_profiles kvp_image_profiles)
foreach(plugin IN LISTS kvp_plugins)
  get_property(dir GLOBAL PROPERTY KVP_DIR_${plugin})
  add_library(kvp_game_${plugin} OBJECT ${CMAKE_CURRENT_LIST_DIR}/GameEntry.cpp)
  target_include_directories(kvp_game_${plugin} PRIVATE ${dir} ${CMAKE_SOURCE_DIR}/tests ${CMAKE_SOURCE_DIR})
  target_compile_definitions(kvp_game_${plugin} PRIVATE KVP_GAME=${plugin})
  target_sources(kvp_games PRIVATE $<TARGET_OBJECTS:kvp_game_${plugin}>)
endforeach()
