# A Debian package of the installed tree: `cpack -G DEB` in the build folder.
# Library dependencies come from the binaries (dpkg-shlibdeps); what Qt loads at run time
# (the platform plugins) and what the program calls (xdg-open, the MIME database) is named here.
set(CPACK_PACKAGE_NAME vastel)
set(CPACK_PACKAGE_VENDOR "Tessivo Corporation")
set(CPACK_PACKAGE_CONTACT "Tessivo Corporation <vastel@tessivo.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Win back disk space: duplicates, big files and folders, caches")
set(CPACK_PACKAGE_DESCRIPTION
    "Vastel 99 finds duplicate files, big files and big folders, temporary files, old files and browser caches, shows disk statistics as listings and charts, and removes what you mark through one deletion review that guards a Safe Harbor of protected folders and file types: by deleting, moving to the trash, or moving into ZIP archives that its restore window puts back.")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, shared-mime-info, xdg-utils")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-dejavu-core")
include(CPack)
