list(APPEND ORV_MODULE_TESTS
  hud/head_up_display_test.cpp
  hud/hud_symbols_test.cpp
)

# One evaluation of every HUD element, timed with Google Benchmark.
if(ORV_BUILD_BENCHMARKS)
  find_package(benchmark REQUIRED)
  add_executable(hud_benchmark ${CMAKE_CURRENT_LIST_DIR}/hud_benchmark.cpp)
  target_include_directories(hud_benchmark PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
  target_link_libraries(hud_benchmark PRIVATE orvane_static benchmark::benchmark)
  # The benchmark counts allocations with its own operator new over malloc,
  # which GCC's inliner mistakes for a mismatched pair.
  target_compile_options(hud_benchmark PRIVATE -Wno-mismatched-new-delete)
endif()
