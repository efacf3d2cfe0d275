# Run by CPack on the staged tree before packaging: Debian keeps the commands of games in
# /usr/games, so the launchers move there from bin/. Both folders are one level below the
# prefix, so the launchers' paths relative to themselves still hold.
set(root ${CPACK_TEMPORARY_INSTALL_DIRECTORY}${CPACK_PACKAGING_INSTALL_PREFIX})
file(RENAME ${root}/bin ${root}/games)
