# Warnings for every target of the project; third-party headers come in as SYSTEM.
add_library(project_warnings INTERFACE)
target_compile_options(project_warnings INTERFACE -Wall -Wextra -Wshadow -Wnon-virtual-dtor
                                                  -Woverloaded-virtual)
# The program's own code is also clean of implicit narrowing (GCC's -Wconversion; clang's
# takes in sign conversions too, which the code does not aim for). Tests and benchmarks
# build without it.
add_library(project_conversion_warnings INTERFACE)
target_compile_options(project_conversion_warnings
                       INTERFACE $<$<CXX_COMPILER_ID:GNU>:-Wconversion>)

# The ci preset turns every warning into a failed build, so none slips in unseen.
option(PARLANTOGRAPHER_WARNINGS_AS_ERRORS "Fail the build on any compiler warning" OFF)
if(PARLANTOGRAPHER_WARNINGS_AS_ERRORS)
  target_compile_options(project_warnings INTERFACE -Werror)
endif()

# parlantographer_include_root(NAME FILES OUT_VAR) gives a target an include root of its
# own: a folder holding links to the target's headers only, under the name of the source
# folder ("audio/recorder.h"). A library then sees its own headers and those of the
# libraries it links, nothing else, so a layer cannot include what lies above it.
function(parlantographer_include_root name files out)
  get_filename_component(folder ${CMAKE_CURRENT_SOURCE_DIR} NAME)
  set(root ${PROJECT_BINARY_DIR}/include/${name})
  file(REMOVE_RECURSE ${root})
  file(MAKE_DIRECTORY ${root}/${folder})
  foreach(file ${files})
    if(file MATCHES "\\.h$")
      get_filename_component(header ${file} NAME)
      file(CREATE_LINK ${file} ${root}/${folder}/${header} SYMBOLIC)
    endif()
  endforeach()
  set(${out} ${root} PARENT_SCOPE)
endfunction()

# parlantographer_library(NAME [SOURCES files...] [LIBS libs...] [PRIVATE_LIBS libs...])
# builds one static library from the calling folder: the SOURCES given (names inside the
# folder), or else every .cpp and .h of it, so that parallel work on a folder needs no list
# edits. LIBS are linked publicly, PRIVATE_LIBS privately.
function(parlantographer_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS;PRIVATE_LIBS" ${ARGN})
  if(ARG_SOURCES)
    list(TRANSFORM ARG_SOURCES PREPEND ${CMAKE_CURRENT_SOURCE_DIR}/ OUTPUT_VARIABLE files)
  else()
    file(GLOB files CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp
                                      ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  endif()
  parlantographer_include_root(${name} "${files}" root)
  add_library(${name} STATIC ${files})
  target_include_directories(${name} PUBLIC ${root})
  target_link_libraries(${name} PUBLIC ${ARG_LIBS}
                        PRIVATE project_warnings project_conversion_warnings ${ARG_PRIVATE_LIBS})
endfunction()
