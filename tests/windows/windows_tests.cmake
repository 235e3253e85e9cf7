# Windows tests, run under Wine: the real Ondrelle.asi loaded by a test host
# beside the stand-in ScriptHookRDR2.dll, and the Windows platform layer.

# The standard library checks its own bounds in the tests' code.
add_compile_definitions(_GLIBCXX_ASSERTIONS)

# GoogleTest from Debian's sources, built for Windows.
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

# The stand-in hook: a DLL named ScriptHookRDR2.dll of its own folder, so that
# the host can only reach it through the copy in each test's game folder. A
# second build, of the same code, exports everything but the two keyboard
# functions, as a hook from before them: its .def is the first one without
# their lines.
set(stand_in_def ${CMAKE_CURRENT_SOURCE_DIR}/stand_in/ScriptHookRDR2_stand_in.def)
set(stand_in_def_without_keyboard ${CMAKE_CURRENT_BINARY_DIR}/ScriptHookRDR2_stand_in_without_keyboard.def)
file(READ ${stand_in_def} stand_in_exports)
string(REGEX REPLACE "[^\n]*keyboardHandler[^\n]*\n" "" stand_in_exports "${stand_in_exports}")
file(WRITE ${stand_in_def_without_keyboard} "${stand_in_exports}")
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${stand_in_def})
foreach(build "stand_in_hook;stand_in;${stand_in_def}"
              "stand_in_hook_without_keyboard;stand_in_without_keyboard;${stand_in_def_without_keyboard}")
  list(GET build 0 target)
  list(GET build 1 folder)
  list(GET build 2 def)
  add_library(${target} SHARED
    $<TARGET_OBJECTS:ondrelle_simulated_hook>
    ${CMAKE_CURRENT_SOURCE_DIR}/stand_in/hook_script_fiber.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/stand_in/hook_keyboard.cpp
    ${def})
  target_include_directories(${target} PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/stand_in ${CMAKE_SOURCE_DIR}/src)
  target_link_libraries(${target} PRIVATE ondrelle_simulated_world)
  set_target_properties(${target} PROPERTIES OUTPUT_NAME ScriptHookRDR2 PREFIX ""
    RUNTIME_OUTPUT_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}/${folder} ARCHIVE_OUTPUT_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}/${folder})
endforeach()

# The test host and the Windows tests, which also call the log and settings
# code directly over the real Windows platform layer.
file(GLOB windows_test_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/windows/*_test.cpp)
add_executable(ondrelle_windows_tests
  ${windows_test_sources}
  ${CMAKE_CURRENT_SOURCE_DIR}/host/test_game.cpp)
target_include_directories(ondrelle_windows_tests PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/host ${CMAKE_CURRENT_SOURCE_DIR}/support
  ${CMAKE_CURRENT_SOURCE_DIR}/stand_in ${CMAKE_SOURCE_DIR}/src)
target_link_libraries(ondrelle_windows_tests PRIVATE ondrelle_core ondrelle_log ondrelle_platform
  ondrelle_simulated_world ondrelle_tool_report gtest gtest_main version)
target_compile_definitions(ondrelle_windows_tests PRIVATE ONDRELLE_VERSION="${PROJECT_VERSION}")
add_dependencies(ondrelle_windows_tests Ondrelle stand_in_hook stand_in_hook_without_keyboard ondrelle-check)
# One test of ctest, run once under Wine: a Wine process of its own for each
# case cost a quarter of a second apiece. Its summary in gtest-results/ gives
# scripts/test the count of cases.
add_test(NAME Windows.Tests COMMAND ondrelle_windows_tests --gtest_output=xml:gtest-results/ondrelle_windows_tests.xml
  WORKING_DIRECTORY ${CMAKE_BINARY_DIR})
set_tests_properties(Windows.Tests PROPERTIES ENVIRONMENT "WINEDEBUG=-all")

# The plug-in imports only from Windows' own DLLs and the script hook; the
# checker from KERNEL32 and msvcrt alone.
add_test(NAME Ondrelle.ImportTable
  COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/windows/import_table_check.sh $<TARGET_FILE:Ondrelle>
          $<TARGET_FILE:ondrelle-check>)

# MinGW's inline GetCurrentFiber reads the thread block in a way GCC's bounds
# check misreads as an overrun.
set_source_files_properties(${CMAKE_CURRENT_SOURCE_DIR}/stand_in/hook_script_fiber.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/host/frame_cost_bench.cpp
  PROPERTIES COMPILE_OPTIONS -Wno-array-bounds)

# ondrelle-check.exe under Wine, over the same files as natively.
add_test(NAME Tools.CheckSettingsFilesUnderWine
  COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/tools/check_tool_test.sh ${CMAKE_CURRENT_SOURCE_DIR}/fixtures/settings
          ${CMAKE_BINARY_DIR}/Ondrelle.ini ${PROJECT_VERSION} wine $<TARGET_FILE:ondrelle-check>)

# ondrelle-check.exe under Wine over the same game folders as natively.
include(${CMAKE_CURRENT_SOURCE_DIR}/tools/fake_game_files.cmake)
add_test(NAME Tools.CheckGameFoldersUnderWine
  COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/tools/game_folder_test.sh ${CMAKE_CURRENT_SOURCE_DIR}/fixtures/game_folders
          ${FAKE_GAME_FILES} ${CMAKE_SOURCE_DIR}/src/Ondrelle.ini wine $<TARGET_FILE:ondrelle-check>)

# ondrelle-demo: the real plug-in through the preview's scene, as a table.
add_executable(ondrelle-demo
  ${CMAKE_CURRENT_SOURCE_DIR}/host/ondrelle_demo.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/host/test_game.cpp)
target_include_directories(ondrelle-demo PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/host ${CMAKE_CURRENT_SOURCE_DIR}/support
  ${CMAKE_CURRENT_SOURCE_DIR}/stand_in ${CMAKE_SOURCE_DIR}/src)
target_link_libraries(ondrelle-demo PRIVATE ondrelle_core ondrelle_log ondrelle_platform ondrelle_simulated_world)
set_target_properties(ondrelle-demo PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
add_dependencies(ondrelle-demo Ondrelle stand_in_hook)

# The real plug-in draws the preview scene exactly as the native script does.
add_test(NAME Ondrelle.DemoSceneTableUnderWine
  COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/tools/scene_table_test.sh
          ${CMAKE_CURRENT_SOURCE_DIR}/fixtures/preview_scene_table.txt wine $<TARGET_FILE:ondrelle-demo>)

# The release zip holds what goes into the game folder, and nothing else.
add_test(NAME Ondrelle.ReleasePackage
  COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/windows/package_check.sh ${CMAKE_BINARY_DIR} ${PROJECT_VERSION}
          ${CMAKE_SOURCE_DIR}/CHANGELOG.md)

# ondrelle-frame-bench: the shipped plug-in's frame against its bare native
# calls, under Wine; scripts/bench runs it. A measurement, not a test.
add_executable(ondrelle-frame-bench
  ${CMAKE_CURRENT_SOURCE_DIR}/host/frame_cost_bench.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/host/test_game.cpp)
target_include_directories(ondrelle-frame-bench PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/host ${CMAKE_CURRENT_SOURCE_DIR}/support
  ${CMAKE_CURRENT_SOURCE_DIR}/stand_in ${CMAKE_SOURCE_DIR}/src)
target_link_libraries(ondrelle-frame-bench PRIVATE ondrelle_simulated_world ondrelle_platform)
set_target_properties(ondrelle-frame-bench PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
add_dependencies(ondrelle-frame-bench Ondrelle stand_in_hook)
