# The Debian package: `cmake --build <dir> --target package` in a build folder configured with
# -DCMAKE_INSTALL_PREFIX=/usr (so that the libraries land in Debian's multiarch folder) makes
# tqservicecode_<version>_<arch>.deb, which `apt install ./<file>.deb` installs with what it
# needs. It holds everything `cmake --install` installs: the libraries, headers and CMake
# package for hosts, the demo host, the reference-database builder and the shipped data.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tqservicecode)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "TQServiceCode")
set(TQ_PACKAGE_MAINTAINER "TQServiceCode maintainers <maintainers@tqservicecode.invalid>"
    CACHE STRING "The Debian package's Maintainer field")
set(CPACK_PACKAGE_CONTACT "${TQ_PACKAGE_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "Service codes of a dental practice-management system, as a Qt 6 component")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "The service-code component of a dental practice-management application: the code picker, "
    "the code table and its editor, reference code sets and letters, on SQLite or PostgreSQL. "
    "It holds the component's libraries with their headers and CMake package, a working host "
    "(tqhost) with its demo program tqdemo, and the reference-database builder.")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION libs)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries the programs link come from dpkg-shlibdeps (with their versions). Qt loads its
# database drivers and platform plugins at run time, so those packages are named here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libqt6sql6-sqlite, libqt6sql6-psql")
# A host building against the package also needs Qt's development files.
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "qt6-base-dev, libgl-dev")
include(CPack)
