# What `cmake --install` and the package put where: the programs (and the tape guard) in bin/, the supplied files
# in share/clipwright (where the programs look for them from ../bin), the simulator's benches, the
# desktop entry, the icons in the hicolor theme, the AppStream metainfo, the edit lists' MIME
# types, the bash completion, the man pages and the package's copyright and changelog.
include(GNUInstallDirs)

install(TARGETS clipwright clipwright-cli clipwright-guard tarn-sim RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(DIRECTORY ${CMAKE_SOURCE_DIR}/resources/
    DESTINATION ${CMAKE_INSTALL_DATADIR}/clipwright
    PATTERN "*.py" EXCLUDE
    PATTERN ".keep" EXCLUDE
    PATTERN "clipwright.desktop" EXCLUDE
    PATTERN "icons" EXCLUDE)
install(FILES ${CMAKE_SOURCE_DIR}/sim/benches/demo.json
    DESTINATION ${CMAKE_INSTALL_DATADIR}/clipwright/benches)
install(FILES ${CMAKE_SOURCE_DIR}/resources/clipwright.desktop
    DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
foreach(size 16 32 48 64 128 256)
    install(FILES ${CMAKE_SOURCE_DIR}/resources/icons/clipwright-${size}.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
        RENAME clipwright.png)
endforeach()
install(FILES ${CMAKE_SOURCE_DIR}/resources/icons/clipwright.svg
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/clipwright-mime.xml
    DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages RENAME clipwright.xml)

# The metainfo names the release this build is.
string(TIMESTAMP CLIPWRIGHT_RELEASE_DATE "%Y-%m-%d" UTC)
configure_file(${CMAKE_SOURCE_DIR}/packaging/org.clipwright.clipwright.metainfo.xml
    ${CMAKE_BINARY_DIR}/packaging/org.clipwright.clipwright.metainfo.xml @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/packaging/org.clipwright.clipwright.metainfo.xml
    DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# Bash completion of clipwright-cli and tarn-sim: one file, under each program's name, where
# bash-completion loads it at the first Tab after that name.
foreach(program clipwright-cli tarn-sim)
    install(FILES ${CMAKE_SOURCE_DIR}/packaging/clipwright.bash-completion
        DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions RENAME ${program})
endforeach()

# Man pages from their scdoc sources, compressed as Debian keeps them.
option(CLIPWRIGHT_REQUIRE_MAN_PAGES "Stop when the man pages cannot be built (a package build)" OFF)
find_program(SCDOC_PROGRAM scdoc)
find_program(GZIP_PROGRAM gzip)
if(SCDOC_PROGRAM AND GZIP_PROGRAM)
    set(man_pages "")
    foreach(page clipwright clipwright-cli clipwright-guard tarn-sim)
        set(source ${CMAKE_SOURCE_DIR}/docs/man/${page}.1.scd)
        set(output ${CMAKE_BINARY_DIR}/man/${page}.1.gz)
        # Ninja makes an output's folder itself, the Makefile generators do not.
        add_custom_command(OUTPUT ${output}
            COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/man
            COMMAND sh -c "'${SCDOC_PROGRAM}' < '${source}' | '${GZIP_PROGRAM}' -9n > '${output}'"
            DEPENDS ${source}
            COMMENT "Man page ${page}(1)"
            VERBATIM)
        list(APPEND man_pages ${output})
    endforeach()
    add_custom_target(clipwright_man_pages ALL DEPENDS ${man_pages})
    install(FILES ${man_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
elseif(CLIPWRIGHT_REQUIRE_MAN_PAGES)
    message(FATAL_ERROR "scdoc and gzip are needed for the man pages (scripts/install-deps)")
else()
    message(STATUS "scdoc not found: the man pages are not built")
endif()
