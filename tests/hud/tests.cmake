list(APPEND ORV_MODULE_TESTS
  hud/hud_test.cpp
)
