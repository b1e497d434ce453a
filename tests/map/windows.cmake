# The map layer on GDI, drawn by a plain Windows program that the native
# suite runs under Wine (tests/map/tests.cmake).
add_executable(map_picture ${CMAKE_CURRENT_LIST_DIR}/map_picture.cpp)
target_link_libraries(map_picture PRIVATE orvane_static orvane_host)
set_target_properties(map_picture PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests/map)
