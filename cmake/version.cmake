# The project's version, written once in project(): a header for the
# programs' --version and, on Windows, a version resource in each executable.

# FileVersion and ProductVersion have four numbers; the parts project()
# leaves out are 0.
set(WICKERBY_VERSION_NUMBERS)
foreach(part MAJOR MINOR PATCH TWEAK)
  if("${PROJECT_VERSION_${part}}" STREQUAL "")
    list(APPEND WICKERBY_VERSION_NUMBERS 0)
  else()
    list(APPEND WICKERBY_VERSION_NUMBERS ${PROJECT_VERSION_${part}})
  endif()
endforeach()
list(JOIN WICKERBY_VERSION_NUMBERS "," WICKERBY_VERSION_COMMAS)
list(JOIN WICKERBY_VERSION_NUMBERS "." WICKERBY_VERSION_DOTS)

set(WICKERBY_GENERATED_DIR ${CMAKE_BINARY_DIR}/generated)
configure_file(${CMAKE_CURRENT_LIST_DIR}/wickerby_version.h.in ${WICKERBY_GENERATED_DIR}/wickerby_version.h @ONLY)
add_library(wickerby_version INTERFACE)
target_include_directories(wickerby_version INTERFACE ${WICKERBY_GENERATED_DIR})

# The Windows version resource of an executable: what Explorer shows under
# Properties > Details. Nothing on other platforms.
function(wickerby_version_resource target description)
  if(NOT WIN32)
    return()
  endif()
  set(WICKERBY_RESOURCE_NAME ${target})
  set(WICKERBY_RESOURCE_DESCRIPTION "${description}")
  configure_file(${CMAKE_CURRENT_FUNCTION_LIST_DIR}/version.rc.in ${WICKERBY_GENERATED_DIR}/${target}.rc @ONLY)
  target_sources(${target} PRIVATE ${WICKERBY_GENERATED_DIR}/${target}.rc)
endfunction()
