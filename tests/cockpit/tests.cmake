list(APPEND ORV_MODULE_TESTS
  cockpit/engine_on_test.cpp
  cockpit/screen_selectors_test.cpp
)
