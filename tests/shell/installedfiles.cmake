# Installs the build into a scratch prefix and checks the desktop files with the desktop's own
# validators. Skipped (77) where they are not installed.
find_program(DESKTOP_FILE_VALIDATE desktop-file-validate)
find_program(APPSTREAMCLI appstreamcli)
if(NOT DESKTOP_FILE_VALIDATE OR NOT APPSTREAMCLI)
  message("desktop-file-validate or appstreamcli is missing")
  cmake_language(EXIT 77)
endif()
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BINARY_DIR} --prefix ${PREFIX}
                COMMAND_ERROR_IS_FATAL ANY OUTPUT_QUIET)
foreach(path bin/quillstash share/applications/quillstash.desktop
        share/icons/hicolor/256x256/apps/quillstash.png
        share/metainfo/app.quillstash.Quillstash.metainfo.xml share/man/man1/quillstash.1)
  if(NOT EXISTS ${PREFIX}/${path})
    message(FATAL_ERROR "not installed: ${path}")
  endif()
endforeach()
execute_process(COMMAND ${DESKTOP_FILE_VALIDATE} ${PREFIX}/share/applications/quillstash.desktop
                COMMAND_ERROR_IS_FATAL ANY)
execute_process(COMMAND ${APPSTREAMCLI} validate --no-net
                        ${PREFIX}/share/metainfo/app.quillstash.Quillstash.metainfo.xml
                COMMAND_ERROR_IS_FATAL ANY)
