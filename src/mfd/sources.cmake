# The two multi-function displays, each in a folder of its own (its gauge
# file, its pages, its callbacks' header), and what both share here: the
# page gate, the navigation source, the radio values and the distance text.
list(APPEND ORV_MODULE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/distance_text.cpp
  ${CMAKE_CURRENT_LIST_DIR}/navigation_source.cpp
  ${CMAKE_CURRENT_LIST_DIR}/page_gate.cpp
  ${CMAKE_CURRENT_LIST_DIR}/radio_values.cpp
  ${CMAKE_CURRENT_LIST_DIR}/left/left_display.cpp
  ${CMAKE_CURRENT_LIST_DIR}/left/nav_arc_page.cpp
  ${CMAKE_CURRENT_LIST_DIR}/left/radios_page.cpp
  ${CMAKE_CURRENT_LIST_DIR}/right/controls_page.cpp
  ${CMAKE_CURRENT_LIST_DIR}/right/engine_page.cpp
  ${CMAKE_CURRENT_LIST_DIR}/right/nav_circle_page.cpp
  ${CMAKE_CURRENT_LIST_DIR}/right/right_display.cpp
)
