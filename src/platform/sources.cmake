# Platform back ends. Sound: DirectSound and the multimedia file functions on
# Windows, SDL audio elsewhere. Resources: Windows links them with windres (see
# resources/resources.cmake); the native build carries them itself. Drawing
# surfaces: GDI on Windows, Cairo elsewhere.
if(WIN32)
  list(APPEND ORV_MODULE_SOURCES ${CMAKE_CURRENT_LIST_DIR}/sound_windows.cpp)
  list(APPEND ORV_MODULE_LIBRARIES dsound winmm user32 gdi32)
else()
  find_package(PkgConfig REQUIRED)
  pkg_check_modules(CAIRO REQUIRED IMPORTED_TARGET GLOBAL cairo)
  list(APPEND ORV_MODULE_LIBRARIES PkgConfig::CAIRO)
  find_package(SDL2 REQUIRED)
  list(APPEND ORV_MODULE_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/sound_sdl.cpp
    ${CMAKE_CURRENT_LIST_DIR}/module_resources.cpp
  )
  list(APPEND ORV_MODULE_LIBRARIES SDL2::SDL2)
endif()
