# The radar picture probe for 64-bit Windows: drawn through GDI+ under Wine
# and compared with the native picture (tests/traffic/wine_picture_test.sh).
add_executable(radar_picture_probe ${CMAKE_CURRENT_LIST_DIR}/radar_picture_probe.cpp)
target_link_libraries(radar_picture_probe PRIVATE orvane_host gdi32)
target_include_directories(radar_picture_probe PRIVATE ${PROJECT_SOURCE_DIR}/tests)
set_target_properties(radar_picture_probe PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests/traffic)
