# Benchmarks (Google Benchmark), built by the "release" preset: optimised, no
# sanitizers, over the real native platform layer.
find_package(benchmark REQUIRED)
file(GLOB bench_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/bench/*.cpp)
add_executable(ondrelle_bench ${bench_sources})
target_include_directories(ondrelle_bench PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/bench ${CMAKE_SOURCE_DIR}/src)
target_link_libraries(ondrelle_bench PRIVATE ondrelle_core ondrelle_log ondrelle_platform benchmark::benchmark)
target_compile_definitions(ondrelle_bench PRIVATE ONDRELLE_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
