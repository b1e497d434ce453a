list(APPEND ORV_MODULE_TESTS
  controls/parameters_test.cpp
  controls/toggles_test.cpp
  controls/switches_knobs_test.cpp
  controls/registration_test.cpp
)
