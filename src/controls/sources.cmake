list(APPEND ORV_MODULE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/baro_pressure.cpp
  ${CMAKE_CURRENT_LIST_DIR}/event_buttons.cpp
  ${CMAKE_CURRENT_LIST_DIR}/heading_selector.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ils_tac_switch.cpp
  ${CMAKE_CURRENT_LIST_DIR}/nav_gps_switch.cpp
  ${CMAKE_CURRENT_LIST_DIR}/omni_bearing_selector.cpp
  ${CMAKE_CURRENT_LIST_DIR}/parameter_toggles.cpp
  ${CMAKE_CURRENT_LIST_DIR}/parameters.cpp
  ${CMAKE_CURRENT_LIST_DIR}/registration.cpp
  ${CMAKE_CURRENT_LIST_DIR}/screen_selectors.cpp
  ${CMAKE_CURRENT_LIST_DIR}/window_buttons.cpp
)
