# Native tests: the core against the simulated game and a platform double
# whose clock and failures the tests control; the tools' own tests; fuzzers
# and the soak.
find_package(GTest REQUIRED)

# Each GoogleTest program is one test of ctest, run once, not once a case:
# its cases take under a second together, where a process of its own for
# each, under the sanitizers, took half a minute. It names its failing cases
# itself, and its summary in gtest-results/ gives scripts/test the count of
# cases.
function(ondrelle_gtest name target)
  add_test(NAME ${name} COMMAND ${target} --gtest_output=xml:gtest-results/${target}.xml
    WORKING_DIRECTORY ${CMAKE_BINARY_DIR})
endfunction()

# Helpers every native test may use: temporary folders, files, settings texts.
add_library(test_files STATIC
  ${CMAKE_CURRENT_SOURCE_DIR}/support/test_files.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/support/settings_text.cpp)
target_include_directories(test_files PUBLIC ${CMAKE_CURRENT_SOURCE_DIR}/support)
target_link_libraries(test_files PUBLIC ondrelle_core ondrelle_posix_support)
target_compile_definitions(test_files PRIVATE ONDRELLE_SOURCE_DIR="${CMAKE_SOURCE_DIR}")

# The platform double and the frame driver, as objects: the core needs the
# double's platform functions, and the driver needs the core.
add_library(test_support OBJECT
  ${CMAKE_CURRENT_SOURCE_DIR}/support/fake_platform.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/support/script_driver.cpp)
target_include_directories(test_support PUBLIC ${CMAKE_CURRENT_SOURCE_DIR}/support)
target_link_libraries(test_support PUBLIC test_files ondrelle_simulation ondrelle_core ondrelle_log)

# Fontconfig, under cairo's text, keeps its caches until a process ends: not
# a leak of ours for the sanitizer to report, and the only one forgiven.
set(leak_suppressions "LSAN_OPTIONS=suppressions=${CMAKE_CURRENT_SOURCE_DIR}/lsan_suppressions.txt")

file(GLOB unit_test_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/unit/*_test.cpp)
add_executable(ondrelle_unit_tests ${unit_test_sources})
# With the checker's reading of the log, linked with the plug-in's own log
# writer: the log the real core writes is fed to it.
target_link_libraries(ondrelle_unit_tests PRIVATE test_support ondrelle_log_explaining GTest::gtest_main)
target_compile_definitions(ondrelle_unit_tests PRIVATE ONDRELLE_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
ondrelle_gtest(Native.UnitTests ondrelle_unit_tests)

# The tools' own tests: the settings rules row by row, the checker's notes and
# the preview's picture, over the real native platform layer and the tools'
# own log capture.
file(GLOB tool_test_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/tools/*_test.cpp)
add_executable(ondrelle_tool_tests ${tool_test_sources} ${CMAKE_CURRENT_SOURCE_DIR}/support/game_evidence.cpp)
target_link_libraries(ondrelle_tool_tests PRIVATE test_files ondrelle_preview_render ondrelle_check_reading
  ondrelle_tools_core GTest::gtest_main)
target_compile_definitions(ondrelle_tool_tests PRIVATE ONDRELLE_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
ondrelle_gtest(Tools.ToolTests ondrelle_tool_tests)
set_tests_properties(Tools.ToolTests PROPERTIES ENVIRONMENT "${leak_suppressions}")

add_test(NAME Tools.CheckSettingsFiles
  COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/tools/check_tool_test.sh ${CMAKE_CURRENT_SOURCE_DIR}/fixtures/settings
          ${CMAKE_SOURCE_DIR}/src/Ondrelle.ini ${PROJECT_VERSION} $<TARGET_FILE:ondrelle-check>)

# ondrelle-check over the table of game folders.
include(${CMAKE_CURRENT_SOURCE_DIR}/tools/fake_game_files.cmake)
add_test(NAME Tools.CheckGameFolders
  COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/tools/game_folder_test.sh ${CMAKE_CURRENT_SOURCE_DIR}/fixtures/game_folders
          ${FAKE_GAME_FILES} ${CMAKE_SOURCE_DIR}/src/Ondrelle.ini $<TARGET_FILE:ondrelle-check>)

# Fuzzers (clang's libFuzzer): the test command replays the seeds of each
# (the settings examples, the stand-in programs) and the corpus it kept, then
# fuzzes a few seconds more. scripts/fuzz runs them as long as asked.
set(ONDRELLE_FUZZ_SECONDS 3 CACHE STRING "Seconds of new input each fuzzer tries in the test command")
if(CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
  foreach(target fuzz_settings_line fuzz_settings_file)
    add_executable(${target} ${CMAKE_CURRENT_SOURCE_DIR}/fuzz/${target}.cpp)
    target_compile_options(${target} PRIVATE -fsanitize=fuzzer)
    target_link_options(${target} PRIVATE -fsanitize=fuzzer)
    target_link_libraries(${target} PRIVATE test_support)
    target_compile_definitions(${target} PRIVATE ONDRELLE_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
  endforeach()
  foreach(pair "fuzz_settings_line;line" "fuzz_settings_file;file")
    list(GET pair 0 target)
    list(GET pair 1 seeds)
    set(corpus ${CMAKE_CURRENT_BINARY_DIR}/corpus_${seeds})
    file(MAKE_DIRECTORY ${corpus})
    add_test(NAME Fuzz.${target}
      COMMAND ${target} -max_total_time=${ONDRELLE_FUZZ_SECONDS} -max_len=4096 -rss_limit_mb=4096 -print_final_stats=1
              ${corpus} ${CMAKE_CURRENT_SOURCE_DIR}/fuzz/seeds/${seeds})
  endforeach()

  # The checker's readers over any file: seeded with the settings examples
  # and the stand-in game programs, whole (they are under 8 KiB).
  add_executable(fuzz_checker_reading ${CMAKE_CURRENT_SOURCE_DIR}/fuzz/fuzz_checker_reading.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/support/game_evidence.cpp)
  target_include_directories(fuzz_checker_reading PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/support)
  target_compile_options(fuzz_checker_reading PRIVATE -fsanitize=fuzzer)
  target_link_options(fuzz_checker_reading PRIVATE -fsanitize=fuzzer)
  target_link_libraries(fuzz_checker_reading PRIVATE ondrelle_check_reading)
  add_dependencies(fuzz_checker_reading fake_game_files)
  set(corpus ${CMAKE_CURRENT_BINARY_DIR}/corpus_checker)
  file(MAKE_DIRECTORY ${corpus})
  add_test(NAME Fuzz.fuzz_checker_reading
    COMMAND fuzz_checker_reading -max_total_time=${ONDRELLE_FUZZ_SECONDS} -max_len=8192 -rss_limit_mb=4096
            -print_final_stats=1
            ${corpus} ${CMAKE_CURRENT_SOURCE_DIR}/fuzz/seeds/file ${FAKE_GAME_FILES})
endif()

# The soak: a million frames run in the test command (a few seconds); a
# longer one is "build/native/tests/ondrelle_soak 20000000".
add_executable(ondrelle_soak ${CMAKE_CURRENT_SOURCE_DIR}/soak/soak.cpp)
target_link_libraries(ondrelle_soak PRIVATE test_support)
add_test(NAME Soak.MillionFrames COMMAND ondrelle_soak 1000000)
add_test(NAME Soak.RefusesAPassCountThatIsNoNumber
  COMMAND sh -c "\"$0\" abc; test $? -eq 2" $<TARGET_FILE:ondrelle_soak>)

# ondrelle-preview as a user runs it, and refusing a faulty settings file.
add_test(NAME Tools.PreviewCommandLine
  COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/tools/preview_tool_test.sh ${CMAKE_CURRENT_SOURCE_DIR}/fixtures/settings
          ${PROJECT_VERSION} $<TARGET_FILE:ondrelle-preview>)
set_tests_properties(Tools.PreviewCommandLine PROPERTIES ENVIRONMENT "${leak_suppressions}")

# The native script draws the preview scene as the golden table says.
add_test(NAME Tools.PreviewSceneTable
  COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/tools/scene_table_test.sh
          ${CMAKE_CURRENT_SOURCE_DIR}/fixtures/preview_scene_table.txt $<TARGET_FILE:ondrelle-preview>)
set_tests_properties(Tools.PreviewSceneTable PROPERTIES ENVIRONMENT "${leak_suppressions}")
