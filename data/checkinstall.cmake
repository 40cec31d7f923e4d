# Installs the build into an empty folder and checks what a desktop would read there:
# every file in its place, the desktop file and the metainfo valid by the desktop's own
# validators, and both programs answering --version without a display.
file(REMOVE_RECURSE ${STAGE})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD} --prefix ${STAGE}
                RESULT_VARIABLE result OUTPUT_QUIET)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${result}")
endif()

foreach(path bin/parlantographer bin/parlantographer-cli
             share/applications/${ID}.desktop
             share/icons/hicolor/scalable/apps/${ID}.svg
             share/metainfo/${ID}.metainfo.xml
             share/man/man1/parlantographer.1 share/man/man1/parlantographer-cli.1)
  if(NOT EXISTS ${STAGE}/${path})
    message(FATAL_ERROR "not installed: ${path}")
  endif()
endforeach()

function(check)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "${ARGN} failed (${result}):\n${out}${err}")
  endif()
endfunction()

check(desktop-file-validate ${STAGE}/share/applications/${ID}.desktop)
check(appstreamcli validate --no-net --pedantic ${STAGE}/share/metainfo/${ID}.metainfo.xml)
# The option parser ends these runs with exit(), which a leak checker (the sanitizer
# build) would count against them; what is checked here is that they print and succeed.
foreach(option --version --help)
  check(${CMAKE_COMMAND} -E env --unset=DISPLAY --unset=WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb
        ASAN_OPTIONS=detect_leaks=0 ${STAGE}/bin/parlantographer ${option})
endforeach()
check(${STAGE}/bin/parlantographer-cli --help)
