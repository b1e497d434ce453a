# Builds the art generator for the build machine (also when cross-compiling:
# it is its own project, configured without the target toolchain and without
# sanitizers), runs it, and links its output into the module: a resource
# object on Windows, an embedded blob with an accessor elsewhere.
# Included from src/CMakeLists.txt so that the generated files and the module
# targets live in one directory.
include(ExternalProject)

set(ORV_ARTGEN_DIR ${CMAKE_BINARY_DIR}/artgen)
set(ORV_ARTGEN ${ORV_ARTGEN_DIR}/orv_artgen)
set(ORV_RESOURCE_DIR ${CMAKE_BINARY_DIR}/resources)

ExternalProject_Add(orv_artgen_host
  SOURCE_DIR ${PROJECT_SOURCE_DIR}/resources
  BINARY_DIR ${ORV_ARTGEN_DIR}
  CMAKE_ARGS -DCMAKE_BUILD_TYPE=Release -DORV_WERROR=${ORV_WERROR}
  INSTALL_COMMAND ""
  BUILD_ALWAYS ON
  BUILD_BYPRODUCTS ${ORV_ARTGEN})

# Windows targets link the resources as a COFF object holding the .rsrc
# section (the generator writes it for the target's machine, so that two ids
# can share one stored bitmap); native targets compile the embedded blob.
set(ORV_RESOURCE_BLOB ${ORV_RESOURCE_DIR}/orvane_resources_blob.cpp)
# The built-in panel's background bitmaps (panel/*.bmp), and their bytes for
# orvane-panel.
set(ORV_PANEL_ART ${ORV_RESOURCE_DIR}/orvane_panel_art.cpp PARENT_SCOPE)
set(ORV_PANEL_ART ${ORV_RESOURCE_DIR}/orvane_panel_art.cpp)
set(ORV_RESOURCE_OBJECT ${ORV_RESOURCE_DIR}/orvane_resources.obj)
set(ORV_RESOURCE_OUTPUTS ${ORV_RESOURCE_BLOB} ${ORV_PANEL_ART})
set(ORV_RESOURCE_MACHINE "")
if(WIN32)
  list(APPEND ORV_RESOURCE_OUTPUTS ${ORV_RESOURCE_OBJECT})
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    set(ORV_RESOURCE_MACHINE --machine i386)
  else()
    set(ORV_RESOURCE_MACHINE --machine amd64)
  endif()
endif()
add_custom_command(
  OUTPUT ${ORV_RESOURCE_OUTPUTS}
  COMMAND ${ORV_ARTGEN} --out ${ORV_RESOURCE_DIR} ${ORV_RESOURCE_MACHINE}
  DEPENDS orv_artgen_host ${ORV_ARTGEN}
  COMMENT "Drawing the module's bitmaps and sounds"
  VERBATIM)
add_custom_target(orv_resources DEPENDS ${ORV_RESOURCE_OUTPUTS})

if(NOT WIN32)
  list(APPEND ORV_MODULE_SOURCES ${ORV_RESOURCE_BLOB})
endif()
