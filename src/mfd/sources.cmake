list(APPEND ORV_MODULE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/controls_page.cpp
  ${CMAKE_CURRENT_LIST_DIR}/distance_text.cpp
  ${CMAKE_CURRENT_LIST_DIR}/engine_page.cpp
  ${CMAKE_CURRENT_LIST_DIR}/left_display.cpp
  ${CMAKE_CURRENT_LIST_DIR}/nav_circle_page.cpp
  ${CMAKE_CURRENT_LIST_DIR}/nav_arc_page.cpp
  ${CMAKE_CURRENT_LIST_DIR}/navigation_source.cpp
  ${CMAKE_CURRENT_LIST_DIR}/page_gate.cpp
  ${CMAKE_CURRENT_LIST_DIR}/radio_values.cpp
  ${CMAKE_CURRENT_LIST_DIR}/radios_page.cpp
  ${CMAKE_CURRENT_LIST_DIR}/right_display.cpp
)
