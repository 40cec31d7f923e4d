# Warnings for every target of the project; third-party headers come in as SYSTEM.
add_library(project_warnings INTERFACE)
target_compile_options(project_warnings INTERFACE -Wall -Wextra -Wshadow -Wnon-virtual-dtor
                                                  -Woverloaded-virtual)

# parlantographer_library(NAME SOURCE_DIR LIBS...) builds every .cpp of a folder
# into one static library, so that parallel work on a folder needs no list edits.
function(parlantographer_library name)
  cmake_parse_arguments(ARG "" "" "LIBS;PRIVATE_LIBS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  file(GLOB headers CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  if(NOT sources)
    # A folder whose classes are still to come: an empty interface keeps the links valid.
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} INTERFACE ${ARG_LIBS})
    return()
  endif()
  add_library(${name} STATIC ${sources} ${headers})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${ARG_LIBS} PRIVATE project_warnings ${ARG_PRIVATE_LIBS})
endfunction()
