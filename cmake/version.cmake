# The release version, defined once by project(VERSION) in the top CMakeLists.txt: the
# generated header morvanta_version.h for the sources (every library finds it), and the
# version resource with the application manifest of each Windows executable.
set(MORVANTA_GENERATED_DIR "${PROJECT_BINARY_DIR}/generated")
configure_file("${CMAKE_CURRENT_LIST_DIR}/version.h.in"
               "${MORVANTA_GENERATED_DIR}/morvanta_version.h" @ONLY)
include_directories("${MORVANTA_GENERATED_DIR}")

# morvanta_windows_resources(TARGET DESCRIPTION text MANIFEST template): compiles into
# TARGET its version resource (company, product, versions, DESCRIPTION, the file's name)
# and the manifest made from the template (which may use @PROJECT_VERSION@).
function(morvanta_windows_resources target)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "DESCRIPTION;MANIFEST" "")
  if(NOT arg_DESCRIPTION OR NOT arg_MANIFEST)
    message(FATAL_ERROR "morvanta_windows_resources(${target}): DESCRIPTION and MANIFEST")
  endif()
  get_target_property(name ${target} OUTPUT_NAME)
  if(NOT name)
    set(name ${target})
  endif()
  set(MORVANTA_FILE_NAME "${name}")
  set(MORVANTA_FILE_DESCRIPTION "${arg_DESCRIPTION}")
  set(MORVANTA_MANIFEST "${CMAKE_CURRENT_BINARY_DIR}/${target}.manifest")
  configure_file("${arg_MANIFEST}" "${MORVANTA_MANIFEST}" @ONLY)
  set(rc "${CMAKE_CURRENT_BINARY_DIR}/${target}_resources.rc")
  configure_file("${PROJECT_SOURCE_DIR}/cmake/resources.rc.in" "${rc}" @ONLY)
  # The resource compiler does not report the manifest as an input.
  set_source_files_properties("${rc}" PROPERTIES OBJECT_DEPENDS "${MORVANTA_MANIFEST}")
  target_sources(${target} PRIVATE "${rc}")
endfunction()
