# Small helpers shared by the build files.

# lumora_version_resource(target DESCRIPTION): gives a Windows DLL or program a
# version resource whose FileDescription is DESCRIPTION.
function(lumora_version_resource target description)
  if(NOT WIN32)
    return()
  endif()
  set(LUMORA_FILE_DESCRIPTION "${description}")
  get_target_property(type ${target} TYPE)
  get_target_property(output ${target} OUTPUT_NAME)
  if(NOT output)
    set(output ${target})
  endif()
  if(type STREQUAL "EXECUTABLE")
    set(LUMORA_FILE_NAME "${output}.exe")
    set(LUMORA_FILE_TYPE "VFT_APP")
  else()
    get_target_property(suffix ${target} SUFFIX)
    if(NOT suffix)
      set(suffix ".dll")
    endif()
    set(LUMORA_FILE_NAME "${output}${suffix}")
    set(LUMORA_FILE_TYPE "VFT_DLL")
  endif()
  set(rc ${CMAKE_CURRENT_BINARY_DIR}/${target}_version.rc)
  configure_file(${PROJECT_SOURCE_DIR}/cmake/Version.rc.in ${rc} @ONLY)
  target_sources(${target} PRIVATE ${rc})
endfunction()

# lumora_driver(name DESCRIPTION sources...): one driver plug-in, <name>.dll on
# Windows and <name>.so elsewhere, linked against the host library and
# exporting only CreateDisplayDevice.
function(lumora_driver name description)
  add_library(${name} MODULE ${ARGN})
  set_target_properties(${name} PROPERTIES PREFIX "")
  target_link_libraries(${name} PRIVATE lumora)
  if(WIN32)
    target_sources(${name} PRIVATE ${PROJECT_SOURCE_DIR}/drivers/common/ModuleEntry.cpp)
  endif()
  lumora_version_resource(${name} "${description}")
endfunction()
