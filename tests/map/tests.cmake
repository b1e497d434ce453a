list(APPEND ORV_MODULE_TESTS
  map/flight_map_test.cpp
)

