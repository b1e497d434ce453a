# The traffic radar: the traffic client, the display and the Radar gauge. The
# display draws with GDI+ on Windows and with Cairo elsewhere.
list(APPEND ORV_MODULE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/traffic_client.cpp
  ${CMAKE_CURRENT_LIST_DIR}/radar_display.cpp
  ${CMAKE_CURRENT_LIST_DIR}/radar.cpp
)
if(WIN32)
  list(APPEND ORV_MODULE_SOURCES ${CMAKE_CURRENT_LIST_DIR}/radar_canvas_gdiplus.cpp)
  list(APPEND ORV_MODULE_LIBRARIES gdiplus)
else()
  if(NOT TARGET PkgConfig::CAIRO)
    find_package(PkgConfig REQUIRED)
    pkg_check_modules(CAIRO REQUIRED IMPORTED_TARGET cairo)
  endif()
  list(APPEND ORV_MODULE_SOURCES ${CMAKE_CURRENT_LIST_DIR}/radar_canvas_cairo.cpp)
  list(APPEND ORV_MODULE_LIBRARIES PkgConfig::CAIRO)
endif()
