# The portable core: no Windows dependency, built natively for the sanitizer
# and fuzzer runs and into every plug-in.
add_library(kvp_common STATIC
  common/FormatField.cpp
  common/HostMemory.cpp
  common/PathName.cpp
  common/PluginInfo.cpp
  common/ShiftJis.cpp
)
target_include_directories(kvp_common PUBLIC ${CMAKE_SOURCE_DIR})

add_library(kvp_replay_core STATIC
  replay/CommentWriteBack.cpp
  replay/CReplayReader.cpp
  replay/ReplayContainer.cpp
  replay/ReplayInfo.cpp
  replay/ReplayRows.cpp
  replay/SlotFromFileName.cpp
  replay/TextPanes.cpp
)
target_link_libraries(kvp_replay_core PUBLIC kvp_common)

# The comment editor's rules for typed text, which need no window: built
# natively for the tests and into every replay plug-in.
add_library(kvp_editor STATIC editor/TypedText.cpp)
target_link_libraries(kvp_editor PUBLIC kvp_common)

# Every replay game's profile in one library, for tests and tools that
# handle all games at once; add_replay_plugin adds each. A plug-in links only
# its own.
add_library(kvp_replay_profiles STATIC)
target_link_libraries(kvp_replay_profiles PUBLIC kvp_replay_core)
