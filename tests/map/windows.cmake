# The map layer on GDI, drawn by a plain Windows program that the native
# suite runs under Wine (tests/map/tests.cmake).
add_executable(map_picture ${CMAKE_CURRENT_LIST_DIR}/map_picture.cpp)
target_link_libraries(map_picture PRIVATE orvane_static orvane_host)
target_include_directories(map_picture PRIVATE ${PROJECT_SOURCE_DIR}/tests)
set_target_properties(map_picture PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests/map)
