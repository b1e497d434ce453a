if(NOT WIN32)
  # The native build carries its resources itself (Windows links them with
  # windres, see resources/resources.cmake).
  list(APPEND ORV_MODULE_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/module_resources.cpp
  )
endif()
