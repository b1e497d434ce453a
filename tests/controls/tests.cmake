list(APPEND ORV_MODULE_TESTS
  controls/parameters_test.cpp
  controls/toggles_test.cpp
  controls/switches_knobs_test.cpp
  controls/registration_test.cpp
)

# A libFuzzer target over the parameter strings, built with clang (the main
# build uses GCC) and run for a bounded time by the test suite.
find_program(ORV_CLANGXX NAMES clang++ clang++-14)
if(ORV_CLANGXX)
  set(src ${PROJECT_SOURCE_DIR}/src)
  set(fuzz_sources
    ${CMAKE_CURRENT_SOURCE_DIR}/controls/fuzz_parameters.cpp
    ${src}/controls/parameters.cpp
    ${src}/controls/parameter_toggles.cpp
    ${src}/controls/registration.cpp
    ${src}/cockpit/mode_state.cpp
    ${src}/frame/elements.cpp
    ${src}/frame/text_format.cpp
    ${src}/frame/host_services.cpp)
  file(GLOB fuzz_headers ${src}/controls/*.h ${src}/frame/*.h ${src}/cockpit/*.h)
  set(fuzz_exe ${CMAKE_CURRENT_BINARY_DIR}/parameter_fuzzer)
  add_custom_command(OUTPUT ${fuzz_exe}
    COMMAND ${ORV_CLANGXX} -std=c++20 -g -O1 -fsanitize=fuzzer,address,undefined -fno-sanitize=alignment
            -fno-sanitize-recover=undefined -I${src} ${fuzz_sources} -o ${fuzz_exe}
    DEPENDS ${fuzz_sources} ${fuzz_headers}
    COMMENT "Building the parameter string fuzzer with clang")
  add_custom_target(parameter_fuzzer_build ALL DEPENDS ${fuzz_exe})
  add_test(NAME parameter_string_fuzzing
    COMMAND ${fuzz_exe} -max_total_time=15 -seed=1 -max_len=4096 -print_final_stats=1
            -dict=${CMAKE_CURRENT_SOURCE_DIR}/controls/parameters.dict)
  set_tests_properties(parameter_string_fuzzing PROPERTIES TIMEOUT 120)
endif()
