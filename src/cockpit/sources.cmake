list(APPEND ORV_MODULE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/mode_state.cpp
  ${CMAKE_CURRENT_LIST_DIR}/engine_on.cpp
  ${CMAKE_CURRENT_LIST_DIR}/flight_path.cpp
)
