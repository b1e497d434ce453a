# Platform back ends. Sound: DirectSound and the multimedia file functions on
# Windows, SDL audio elsewhere (loaded when first used). Resources: Windows links them with windres (see
# resources/resources.cmake); the native build carries them itself. Drawing
# surfaces: GDI on Windows, Cairo elsewhere.
if(WIN32)
  list(APPEND ORV_MODULE_SOURCES ${CMAKE_CURRENT_LIST_DIR}/sound_windows.cpp)
  list(APPEND ORV_MODULE_LIBRARIES dsound winmm user32 gdi32)
else()
  find_package(PkgConfig REQUIRED)
  pkg_check_modules(CAIRO REQUIRED IMPORTED_TARGET GLOBAL cairo)
  list(APPEND ORV_MODULE_LIBRARIES PkgConfig::CAIRO)
  # SDL is opened with dlopen at the first click that plays, so only its
  # headers are needed here: loading it (and opening an output) costs a
  # start-up that most runs never use.
  find_package(SDL2 REQUIRED)
  if(NOT TARGET orvane_sdl_headers)
    add_library(orvane_sdl_headers INTERFACE)
    get_target_property(sdl_includes SDL2::SDL2 INTERFACE_INCLUDE_DIRECTORIES)
    target_include_directories(orvane_sdl_headers INTERFACE ${sdl_includes})
  endif()
  list(APPEND ORV_MODULE_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/sound_sdl.cpp
    ${CMAKE_CURRENT_LIST_DIR}/module_resources.cpp
  )
  list(APPEND ORV_MODULE_LIBRARIES orvane_sdl_headers ${CMAKE_DL_LIBS})
endif()
