# make install: the game under bin/, its data under share/korvanthe/, a
# launcher for the desktop's menus and its icons. The game finds its data
# relative to its own executable, so the prefix may be chosen at install
# time (cmake --install --prefix) and the tree staged or moved as a whole.
include(GNUInstallDirs)
set(KORVANTHE_INSTALL_DATA ${CMAKE_INSTALL_DATADIR}/korvanthe)
file(RELATIVE_PATH data_from_bin ${CMAKE_INSTALL_FULL_BINDIR}
    ${CMAKE_INSTALL_FULL_DATADIR}/korvanthe)
target_compile_definitions(korvanthe_engine PRIVATE KORVANTHE_DATA_FROM_BIN="${data_from_bin}")

install(TARGETS korvanthe RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(DIRECTORY ${CMAKE_BINARY_DIR}/data/ DESTINATION ${KORVANTHE_INSTALL_DATA}
    PATTERN .generated EXCLUDE)
install(DIRECTORY ${CMAKE_BINARY_DIR}/icons/ DESTINATION ${CMAKE_INSTALL_DATADIR}/icons
    PATTERN .generated EXCLUDE)
# The launcher starts the game by its installed path, whatever the prefix
# and whether or not its bin/ is on the PATH.
install(CODE "
    set(EXEC \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/korvanthe\")
    if(EXEC MATCHES \" \")
        set(EXEC \"\\\"\${EXEC}\\\"\")
    endif()
    configure_file(${CMAKE_SOURCE_DIR}/dist/korvanthe.desktop.in
        ${CMAKE_BINARY_DIR}/korvanthe.desktop @ONLY)
    file(INSTALL ${CMAKE_BINARY_DIR}/korvanthe.desktop
        DESTINATION \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_DATADIR}/applications\")
")

# make uninstall removes what this build installs; the list comes from the
# build itself, not from a manifest that a later install may overwrite.
configure_file(${CMAKE_SOURCE_DIR}/cmake/Uninstall.cmake.in ${CMAKE_BINARY_DIR}/uninstall.cmake @ONLY)
add_custom_target(uninstall COMMAND ${CMAKE_COMMAND} -P ${CMAKE_BINARY_DIR}/uninstall.cmake)
