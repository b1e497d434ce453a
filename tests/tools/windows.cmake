# The viewer's window on Windows: a plain test program (no test framework on
# MinGW) that the native suite runs under Wine on Xvfb (view_under_wine.sh).
add_executable(view_window_wine_test ${CMAKE_CURRENT_LIST_DIR}/view_window_wine_test.cpp
  ${PROJECT_SOURCE_DIR}/tools/orvane-panel/view_window_win32.cpp ${PROJECT_SOURCE_DIR}/tools/orvane-panel/view_cursor.cpp)
target_include_directories(view_window_wine_test PRIVATE ${PROJECT_SOURCE_DIR}/tools/orvane-panel)
target_link_libraries(view_window_wine_test PRIVATE orvane_render user32 gdi32)
set_target_properties(view_window_wine_test PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests/tools)
