# Builds the art generator for the build machine (also when cross-compiling:
# it is its own project, configured without the target toolchain and without
# sanitizers), runs it, and links its output into the module: a resource
# script for windres on Windows, an embedded blob with an accessor elsewhere.
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

set(ORV_RESOURCE_RC ${ORV_RESOURCE_DIR}/orvane_resources.rc)
set(ORV_RESOURCE_BLOB ${ORV_RESOURCE_DIR}/orvane_resources_blob.cpp)
add_custom_command(
  OUTPUT ${ORV_RESOURCE_RC} ${ORV_RESOURCE_BLOB}
  COMMAND ${ORV_ARTGEN} --out ${ORV_RESOURCE_DIR}
  DEPENDS orv_artgen_host ${ORV_ARTGEN}
  COMMENT "Drawing the module's bitmaps and sounds"
  VERBATIM)
add_custom_target(orv_resources DEPENDS ${ORV_RESOURCE_RC} ${ORV_RESOURCE_BLOB})

if(NOT WIN32)
  list(APPEND ORV_MODULE_SOURCES ${ORV_RESOURCE_BLOB})
endif()
