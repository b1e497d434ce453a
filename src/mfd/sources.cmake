list(APPEND ORV_MODULE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/left_display.cpp
  ${CMAKE_CURRENT_LIST_DIR}/right_display.cpp
)
