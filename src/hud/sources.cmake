list(APPEND ORV_MODULE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/head_up_display.cpp
  ${CMAKE_CURRENT_LIST_DIR}/hud_attitude.cpp
  ${CMAKE_CURRENT_LIST_DIR}/hud_navigation.cpp
)
