list(APPEND ORV_MODULE_TESTS
  sound/sound_test.cpp
)

# The Windows sound path under Wine, once without any sound output and once
# with a null output; skipped until the win64 preset has built the program.
foreach(mode no-device device)
  add_test(NAME sound_under_wine_${mode}
    COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/sound/run_under_wine.sh ${ORV_WIN64_BUILD_DIR}/tests/sound/sound_wine_test.exe
            ${PROJECT_SOURCE_DIR}/build/wineprefix64 ${mode})
  set_tests_properties(sound_under_wine_${mode} PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 300
    RESOURCE_LOCK wineprefix64)
endforeach()
