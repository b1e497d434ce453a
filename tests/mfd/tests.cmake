list(APPEND ORV_MODULE_TESTS
  mfd/left/left_display_test.cpp
  mfd/mfd_shared_test.cpp
  mfd/right/right_display_test.cpp
)
