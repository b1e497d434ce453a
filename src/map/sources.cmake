list(APPEND ORV_MODULE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/flight_map.cpp
  ${CMAKE_CURRENT_LIST_DIR}/gps_block.cpp
)
# The map layer's back end: GDI on Windows, Cairo elsewhere (the platform
# sources link the library).
if(WIN32)
  list(APPEND ORV_MODULE_SOURCES ${CMAKE_CURRENT_LIST_DIR}/map_layer_gdi.cpp)
else()
  list(APPEND ORV_MODULE_SOURCES ${CMAKE_CURRENT_LIST_DIR}/map_layer_cairo.cpp)
endif()
