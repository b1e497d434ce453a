list(APPEND ORV_MODULE_TESTS
  traffic/traffic_client_test.cpp
  traffic/radar_test.cpp
)
