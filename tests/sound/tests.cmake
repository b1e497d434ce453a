list(APPEND ORV_MODULE_TESTS
  sound/sound_test.cpp
)
