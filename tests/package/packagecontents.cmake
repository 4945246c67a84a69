# Checks the Debian package that ./scripts/package built: its version, the files it installs, and
# that the program runs from an unpacked copy.
cmake_policy(VERSION 3.25)
execute_process(COMMAND dpkg --print-architecture OUTPUT_VARIABLE arch
                OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
set(DEB ${PACKAGE_DIR}/quillstash_${VERSION}_${arch}.deb)
if(NOT EXISTS ${DEB})
  message(FATAL_ERROR "${DEB} is missing: ./scripts/package builds it")
endif()

execute_process(COMMAND dpkg-deb --field ${DEB} Version OUTPUT_VARIABLE package_version
                OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
if(NOT package_version STREQUAL VERSION)
  message(FATAL_ERROR "the package is at ${package_version}, the project at ${VERSION}")
endif()

execute_process(COMMAND dpkg-deb --contents ${DEB} OUTPUT_VARIABLE listing
                COMMAND_ERROR_IS_FATAL ANY)
string(REGEX MATCHALL "\\./[^\n]*[^/\n]\n" files "${listing}")
list(TRANSFORM files STRIP)
# Links are listed as "path -> target".
list(TRANSFORM files REPLACE " -> .*" "")

set(expected usr/bin/quillstash usr/share/applications/quillstash.desktop
             usr/share/metainfo/app.quillstash.Quillstash.metainfo.xml
             usr/share/man/man1/quillstash.1.gz usr/share/doc/quillstash/copyright)
# Every picture of the icon export, in the theme folder of its size.
set(icons ${WORK_DIR}/icons)
file(REMOVE_RECURSE ${WORK_DIR})
execute_process(COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen ${PROGRAM}
                        --generate-app-icon ${icons} COMMAND_ERROR_IS_FATAL ANY)
file(GLOB exported RELATIVE ${icons} ${icons}/*.png)
if(NOT exported)
  message(FATAL_ERROR "the icon export wrote nothing")
endif()
foreach(picture ${exported})
  if(NOT picture MATCHES "^icon_([0-9]+x[0-9]+)(@2)?x?\\.png$")
    message(FATAL_ERROR "the icon export wrote ${picture}, named for no size")
  endif()
  list(APPEND expected usr/share/icons/hicolor/${CMAKE_MATCH_1}${CMAKE_MATCH_2}/apps/quillstash.png)
endforeach()
foreach(path ${expected})
  if(NOT "./${path}" IN_LIST files)
    message(FATAL_ERROR "the package lacks /${path}")
  endif()
endforeach()
# Starting at login is the user's choice in Preferences, never the package's.
foreach(path ${files})
  if(path MATCHES "autostart|^\\./etc/|systemd")
    message(FATAL_ERROR "the package starts the program by itself: ${path}")
  endif()
endforeach()

set(root ${WORK_DIR}/root)
execute_process(COMMAND dpkg -x ${DEB} ${root} COMMAND_ERROR_IS_FATAL ANY)
file(READ ${root}/usr/share/metainfo/app.quillstash.Quillstash.metainfo.xml metainfo)
if(NOT metainfo MATCHES "<release version=\"${VERSION}\"")
  message(FATAL_ERROR "the AppStream file has no release entry for ${VERSION}")
endif()
string(REGEX MATCHALL "<screenshot[ >]" screenshots "${metainfo}")
string(REGEX MATCHALL "<caption>[^<]+</caption>" captions "${metainfo}")
list(LENGTH screenshots screenshot_count)
list(LENGTH captions caption_count)
if(screenshot_count EQUAL 0 OR NOT screenshot_count EQUAL caption_count)
  message(FATAL_ERROR "${screenshot_count} screenshots with ${caption_count} descriptions")
endif()

execute_process(COMMAND ${root}/usr/bin/quillstash --version OUTPUT_VARIABLE version_text
                COMMAND_ERROR_IS_FATAL ANY)
if(NOT version_text MATCHES "^Quillstash ${VERSION} ")
  message(FATAL_ERROR "the packaged program says: ${version_text}")
endif()
execute_process(COMMAND ${root}/usr/bin/quillstash --help OUTPUT_VARIABLE help_text
                COMMAND_ERROR_IS_FATAL ANY)
if(NOT help_text MATCHES "--version")
  message(FATAL_ERROR "the packaged program's help lists no options: ${help_text}")
endif()
