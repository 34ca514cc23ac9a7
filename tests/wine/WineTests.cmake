# Tests of the built plug-ins, loaded under Wine as the host loads them.
math(EXPR wine_bits "${CMAKE_SIZEOF_VOID_P} * 8")
set(KVP_WINE_ARCH win${wine_bits})
set(KVP_WINE_PREFIX ${CMAKE_BINARY_DIR}/wineprefix)
set(wine_env KVP_WINE_ARCH=${KVP_WINE_ARCH} KVP_WINE_PREFIX=${KVP_WINE_PREFIX})

# The built files' exports and, 32-bit, their imports, Windows floor and size.
get_property(kvp_plugins GLOBAL PROPERTY KVP_PLUGINS)
foreach(plugin IN LISTS kvp_plugins)
  get_property(kind GLOBAL PROPERTY KVP_KIND_${plugin})
  add_test(NAME exports_${plugin}
    COMMAND ${CMAKE_COMMAND} -DPLUGIN=$<TARGET_FILE:${plugin}> -DNAME=${plugin} -DKIND=${kind}
            -DPOINTER_SIZE=${CMAKE_SIZEOF_VOID_P} -DOBJDUMP=${CMAKE_OBJDUMP} -DNM=${CMAKE_NM}
            -DOBJECTS=$<JOIN:$<TARGET_OBJECTS:${plugin}_exports>,|> -P ${CMAKE_CURRENT_LIST_DIR}/CheckExports.cmake)
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    add_test(NAME imports_${plugin}
      COMMAND ${CMAKE_COMMAND} -DFILE=$<TARGET_FILE:${plugin}> -DNAME=${plugin}
              -DLIST=${CMAKE_CURRENT_LIST_DIR}/imports/${kind}.txt -DOBJDUMP=${CMAKE_OBJDUMP} -DMAX_BYTES=204800
              -P ${CMAKE_CURRENT_LIST_DIR}/CheckImports.cmake)
  endif()
endforeach()
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  add_test(NAME imports_kvhost
    COMMAND ${CMAKE_COMMAND} -DFILE=$<TARGET_FILE:kvhost> -DNAME=kvhost
            -DLIST=${CMAKE_CURRENT_LIST_DIR}/imports/kvhost.txt -DOBJDUMP=${CMAKE_OBJDUMP}
            -P ${CMAKE_CURRENT_LIST_DIR}/CheckImports.cmake)
endif()

# Test programs run under Wine (the emulator is taken when a target is made).
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_COMMAND} -E env ${wine_env} ${CMAKE_SOURCE_DIR}/tools/wine/wine-run.sh)

# Compiled also where it cannot run: a 32-bit-only error fails every build.
file(GLOB wine_test_sources ${CMAKE_CURRENT_LIST_DIR}/*Test.cpp)
add_executable(plugin_tests ${wine_test_sources})
target_include_directories(plugin_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests ${CMAKE_SOURCE_DIR})
target_link_libraries(plugin_tests PRIVATE GTest::gtest_main kvp_lzss_encoder kvp_sample_pictures kvp_comment_files
                      kvp_games kvhost_commands version)
target_include_directories(plugin_tests SYSTEM PRIVATE /usr/include/stb)
target_link_options(plugin_tests PRIVATE -static)
add_dependencies(plugin_tests ${kvp_plugins})

if(NOT KVP_WINE_TESTS)
  return()
endif()

# One Wine server for all the tests; code page 932, as the host's users have it.
set(KVP_WINE_LOCALE LC_ALL=ja_JP.UTF-8 LOCPATH=${CMAKE_BINARY_DIR}/locale)
add_test(NAME wine_start
         COMMAND ${CMAKE_COMMAND} -E env ${wine_env} ${KVP_WINE_LOCALE} ${CMAKE_SOURCE_DIR}/tools/wine/wine-prefix.sh start)
add_test(NAME wine_stop COMMAND ${CMAKE_COMMAND} -E env ${wine_env} ${CMAKE_SOURCE_DIR}/tools/wine/wine-prefix.sh stop)
set_tests_properties(wine_start PROPERTIES FIXTURES_SETUP wine)
set_tests_properties(wine_stop PROPERTIES FIXTURES_CLEANUP wine)

# Wine takes the ANSI code page from the locale: the tests of code page 1252
# run in a process of their own.
add_test(NAME plugin_tests COMMAND plugin_tests --gtest_filter=-CodePage1252.*)
add_test(NAME plugin_tests_1252 COMMAND plugin_tests --gtest_filter=CodePage1252.*)
set_tests_properties(plugin_tests plugin_tests_1252 PROPERTIES
  FIXTURES_REQUIRED wine
  ENVIRONMENT "KVP_PLUGIN_DIR=Z:${CMAKE_BINARY_DIR}/plugins;KVP_SOURCE_DIR=Z:${CMAKE_SOURCE_DIR};KVP_BUILD_DIR=Z:${CMAKE_BINARY_DIR};TZ=JST-9;${KVP_WINE_LOCALE}"
  TIMEOUT 900)
set_property(TEST plugin_tests_1252 APPEND PROPERTY ENVIRONMENT LC_ALL=en_US.UTF-8)
# A filter that finds no test would pass.
set_tests_properties(plugin_tests_1252 PROPERTIES FAIL_REGULAR_EXPRESSION "PASSED  \\] 0 tests")

# The version resource test also reads the 32-bit files, as data.
set_property(TEST plugin_tests APPEND PROPERTY ENVIRONMENT KVP_RELEASE_VERSION=${KVP_RELEASE_VERSION})
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(KVP_RELEASE_DIR ${CMAKE_SOURCE_DIR}/out/build/cross/plugins CACHE PATH
      "The 32-bit build's plug-ins, whose version resources the Wine tests also read")
  set_property(TEST plugin_tests APPEND PROPERTY ENVIRONMENT KVP_RELEASE_DIR=Z:${KVP_RELEASE_DIR})
endif()
