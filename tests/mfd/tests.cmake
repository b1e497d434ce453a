list(APPEND ORV_MODULE_TESTS
  mfd/left_display_test.cpp
  mfd/mfd_shared_test.cpp
  mfd/right_display_test.cpp
)
