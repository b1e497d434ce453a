list(APPEND ORV_MODULE_TESTS
  sound/sound_test.cpp
)

# The Windows sound path under Wine, once without any sound output and once
# with a null output; skipped until the win64 preset has built the program.
set(ORV_WIN64_SOUND_TEST ${PROJECT_SOURCE_DIR}/build/win64/tests/sound/sound_wine_test.exe CACHE FILEPATH
  "The Windows sound test program that runs under Wine")
foreach(mode no-device device)
  add_test(NAME sound_under_wine_${mode}
    COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/sound/run_under_wine.sh ${ORV_WIN64_SOUND_TEST}
            ${PROJECT_SOURCE_DIR}/build/wineprefix64 ${mode})
  set_tests_properties(sound_under_wine_${mode} PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 300
    RESOURCE_LOCK wineprefix64)
endforeach()
