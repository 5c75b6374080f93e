# Install rules and the Debian package (`cpack -G DEB` in the build folder).
# The program, its menu entry, icons, AppStream metadata and manual page, and the
# files that make it a screen saver for XScreenSaver and the desktops that follow it.
include(GNUInstallDirs)

set(QUILLON_APP_ID org.quillon.Quillon) # also the desktop file name in app/main.cpp
set(QUILLON_PACKAGE_MAINTAINER "The Quillon developers <quillon@example.org>"
    CACHE STRING "Maintainer field of the Debian package")
set(QUILLON_PACKAGING ${CMAKE_CURRENT_LIST_DIR}/../packaging)
set(QUILLON_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/quillon)

install(TARGETS quillon RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# As Debian builds its own packages: the whole offset table read-only after start-up,
# and no compiler identification left in the installed program.
target_link_options(quillon PRIVATE -Wl,-z,relro -Wl,-z,now)
if(CMAKE_OBJCOPY)
  install(CODE "execute_process(COMMAND ${CMAKE_OBJCOPY} --remove-section=.comment
                --remove-section=.note
                \$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/quillon)")
endif()
install(FILES ${QUILLON_PACKAGING}/${QUILLON_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${QUILLON_PACKAGING}/${QUILLON_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(DIRECTORY ${QUILLON_PACKAGING}/icons/hicolor DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)

# Debian keeps manual pages and changelogs compressed, reproducibly (-n: no name or
# time stamp in the archive).
function(quillon_gzip source output)
  add_custom_command(OUTPUT ${output}
                     COMMAND gzip -9n -c ${source} > ${output}
                     DEPENDS ${source} VERBATIM)
endfunction()
quillon_gzip(${QUILLON_PACKAGING}/quillon.6 ${CMAKE_CURRENT_BINARY_DIR}/quillon.6.gz)
quillon_gzip(${QUILLON_PACKAGING}/quillon.ja.6 ${CMAKE_CURRENT_BINARY_DIR}/quillon.ja.6.gz)
quillon_gzip(${QUILLON_PACKAGING}/changelog ${CMAKE_CURRENT_BINARY_DIR}/changelog.gz)
add_custom_target(quillon_compressed_docs ALL
                  DEPENDS ${CMAKE_CURRENT_BINARY_DIR}/quillon.6.gz
                          ${CMAKE_CURRENT_BINARY_DIR}/quillon.ja.6.gz
                          ${CMAKE_CURRENT_BINARY_DIR}/changelog.gz)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/quillon.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
# The Japanese page under the same name, where `man -L ja` looks.
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/quillon.ja.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/ja/man6
        RENAME quillon.6.gz)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/changelog.gz ${QUILLON_PACKAGING}/copyright
        DESTINATION ${QUILLON_DOC_DIR})

# The screen saver: XScreenSaver finds its programs in its own folder under libexec,
# and its settings application reads one form per program.
set(QUILLON_SAVER_DIR ${CMAKE_INSTALL_LIBEXECDIR}/xscreensaver)
file(RELATIVE_PATH QUILLON_SAVER_TARGET /prefix/${QUILLON_SAVER_DIR}
     /prefix/${CMAKE_INSTALL_BINDIR}/quillon)
file(MAKE_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}/saver-link)
file(CREATE_LINK ${QUILLON_SAVER_TARGET} ${CMAKE_CURRENT_BINARY_DIR}/saver-link/quillon SYMBOLIC)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/saver-link/quillon DESTINATION ${QUILLON_SAVER_DIR})
install(FILES ${QUILLON_PACKAGING}/xscreensaver/quillon.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/xscreensaver/config)
install(FILES ${QUILLON_PACKAGING}/screensavers/quillon.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications/screensavers)

# The Debian package.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quillon)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT ${QUILLON_PACKAGE_MAINTAINER})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "stage a television-style episode title card")
set(CPACK_PACKAGE_DESCRIPTION
    "Type a one- or two-line Japanese subtitle, or take one from the built-in\n"
    "catalogue, your own subtitle list or a throw of the die: the screen goes\n"
    "black, the subtitle is typed out one large character at a time with a\n"
    "typing sound, and the finished card is shown with a closing sound.\n"
    "\n"
    "It also runs as a screen saver, for XScreenSaver too, and saves cards as\n"
    "pictures or as videos with their sound.")
string(CONCAT CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION x11)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Libraries the program links come from dpkg-shlibdeps; these it needs without
# linking them: OpenAL (loaded at run time), Qt's platform plugins and a Mincho face.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libopenal1, qt6-qpa-plugins, fonts-ipafont-mincho | fonts-ipaexfont-mincho | fonts-noto-cjk")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS
    "ffmpeg, fonts-ipafont-gothic | fonts-noto-cjk, ibus | fcitx5-frontend-qt6")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "xscreensaver")
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
include(CPack)
