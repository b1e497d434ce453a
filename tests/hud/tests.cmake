list(APPEND ORV_MODULE_TESTS
  hud/head_up_display_test.cpp
  hud/hud_symbols_test.cpp
)
