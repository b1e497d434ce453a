# Compiler warnings for the project's own targets only.
#
# orv_set_warnings(DIR) gives every C and C++ target defined in DIR and in the
# folders below it -Wall -Wextra (and -Werror when ORV_WERROR is on), ahead of
# the target's own options, so that a target's -Wno-... still has the last
# word. Imported targets are not defined in a folder and so are never
# touched; folders outside the source tree (code fetched into the build
# tree) and third_party/ folders are skipped, so third-party code compiles
# with its own flags. The top-level CMakeLists.txt calls it once, last, on
# the source tree.

set(ORV_WARNING_OPTIONS -Wall -Wextra $<$<BOOL:${ORV_WERROR}>:-Werror> -Wno-missing-field-initializers)
# GCC 12 reports std::string copies inlined at -O3 as overlapping memcpy
# (a known false positive of its -Wrestrict); later releases do not.
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
  list(APPEND ORV_WARNING_OPTIONS -Wno-restrict)
endif()
if(CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  # Fields that only one platform's back end uses (the GDI+ canvas's font)
  # are unused in the native build; GCC does not report them, clang does.
  list(APPEND ORV_WARNING_OPTIONS -Wno-unused-private-field)
endif()

function(orv_set_warnings dir)
  cmake_path(IS_PREFIX PROJECT_SOURCE_DIR "${dir}" NORMALIZE inside)
  if(NOT inside OR dir MATCHES "/third_party(/|$)")
    return()
  endif()
  get_property(targets DIRECTORY "${dir}" PROPERTY BUILDSYSTEM_TARGETS)
  foreach(target IN LISTS targets)
    get_target_property(type ${target} TYPE)
    if(type STREQUAL "INTERFACE_LIBRARY" OR type STREQUAL "UTILITY")
      continue()
    endif()
    get_target_property(own ${target} COMPILE_OPTIONS)
    if(NOT own)
      set(own "")
    endif()
    set_property(TARGET ${target} PROPERTY COMPILE_OPTIONS
                 "$<$<COMPILE_LANGUAGE:C,CXX>:${ORV_WARNING_OPTIONS}>" ${own})
  endforeach()
  get_property(folders DIRECTORY "${dir}" PROPERTY SUBDIRECTORIES)
  foreach(folder IN LISTS folders)
    orv_set_warnings("${folder}")
  endforeach()
endfunction()
