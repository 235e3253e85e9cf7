# Native tests: the core against the stand-in world and a platform double
# whose clock and failures the tests control.
find_package(GTest REQUIRED)
include(GoogleTest)

# The stand-in world and hook, as the core sees them natively.
add_library(stand_in_native STATIC
  ${CMAKE_CURRENT_SOURCE_DIR}/stand_in/world.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/stand_in/hook_natives.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/stand_in/hook_script_native.cpp)
target_include_directories(stand_in_native PUBLIC ${CMAKE_CURRENT_SOURCE_DIR}/stand_in ${CMAKE_SOURCE_DIR}/src)

# The platform double and shared test helpers.
add_library(test_support STATIC
  ${CMAKE_CURRENT_SOURCE_DIR}/support/fake_platform.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/support/test_files.cpp)
target_include_directories(test_support PUBLIC ${CMAKE_CURRENT_SOURCE_DIR}/support ${CMAKE_SOURCE_DIR}/src)
target_link_libraries(test_support PUBLIC ondrelle_wide_path)
target_compile_definitions(test_support PRIVATE ONDRELLE_SOURCE_DIR="${CMAKE_SOURCE_DIR}")

file(GLOB unit_test_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/unit/*_test.cpp)
add_executable(ondrelle_unit_tests ${unit_test_sources})
target_link_libraries(ondrelle_unit_tests PRIVATE ondrelle_core ondrelle_log stand_in_native test_support
  GTest::gtest_main)
target_compile_definitions(ondrelle_unit_tests PRIVATE
  ONDRELLE_SOURCE_DIR="${CMAKE_SOURCE_DIR}"
  ONDRELLE_SHARED_DIR="${CMAKE_SOURCE_DIR}/../shared")
gtest_discover_tests(ondrelle_unit_tests DISCOVERY_MODE PRE_TEST)
