list(APPEND ORV_MODULE_TESTS
  frame/registry_test.cpp
  frame/host_services_test.cpp
  frame/elements_test.cpp
  frame/text_format_test.cpp
)
