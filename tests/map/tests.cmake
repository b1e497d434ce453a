list(APPEND ORV_MODULE_TESTS
  map/flight_map_test.cpp
)

# The map layer drawn by the native back end and by the Windows one under
# Wine must agree up to edge smoothing, at three moments of the map route.
add_executable(map_picture ${CMAKE_CURRENT_LIST_DIR}/map_picture.cpp)
target_link_libraries(map_picture PRIVATE orvane_static orvane_host)
target_include_directories(map_picture PRIVATE ${PROJECT_SOURCE_DIR}/tests)
set(ORV_WIN64_MAP_PICTURE ${PROJECT_SOURCE_DIR}/build/win64/tests/map/map_picture.exe CACHE FILEPATH
  "The Windows map picture program that runs under Wine")
add_test(NAME map_picture_under_wine
  COMMAND ${CMAKE_CURRENT_LIST_DIR}/picture_under_wine.sh $<TARGET_FILE:map_picture> ${ORV_WIN64_MAP_PICTURE}
          ${PROJECT_SOURCE_DIR}/data/scenarios/map_route.json ${CMAKE_BINARY_DIR}/wineprefix
          ${CMAKE_BINARY_DIR}/tests/map/pictures)
set_tests_properties(map_picture_under_wine PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 300 RESOURCE_LOCK wineprefix)
