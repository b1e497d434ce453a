list(APPEND ORV_MODULE_TESTS
  platform/module_resources_test.cpp
)
