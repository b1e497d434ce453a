list(APPEND ORV_MODULE_TESTS
  standby/attitude_test.cpp
)
