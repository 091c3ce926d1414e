# The CMake package TQServiceCode, usable from the build tree:
#   find_package(TQServiceCode) with TQServiceCode_DIR set to the build folder, then link
#   TQServiceCode::tqservicecode, TQServiceCode::tqhost, TQServiceCode::tqplatform.
include(CMakePackageConfigHelpers)
include(GNUInstallDirs)

export(TARGETS tqglobal tqplatform tqservicecode tqhost
       NAMESPACE TQServiceCode::
       FILE ${PROJECT_BINARY_DIR}/TQServiceCodeTargets.cmake)
configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/TQServiceCodeConfig.cmake.in
    ${PROJECT_BINARY_DIR}/TQServiceCodeConfig.cmake
    INSTALL_DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/TQServiceCode)
write_basic_package_version_file(${PROJECT_BINARY_DIR}/TQServiceCodeConfigVersion.cmake
    VERSION ${PROJECT_VERSION} COMPATIBILITY SameMajorVersion)

install(TARGETS tqglobal tqplatform tqservicecode tqhost EXPORT TQServiceCodeTargets
        LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
        ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
        RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/src/tqglobal/tqglobal
                  ${PROJECT_SOURCE_DIR}/src/tqplatform/tqplatform
                  ${PROJECT_SOURCE_DIR}/src/tqservicecode/tqservicecode
                  ${PROJECT_SOURCE_DIR}/src/tqhost/tqhost
        DESTINATION ${CMAKE_INSTALL_INCLUDEDIR} FILES_MATCHING PATTERN "*.h")
install(EXPORT TQServiceCodeTargets NAMESPACE TQServiceCode::
        DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/TQServiceCode)
install(FILES ${PROJECT_BINARY_DIR}/TQServiceCodeConfig.cmake
              ${PROJECT_BINARY_DIR}/TQServiceCodeConfigVersion.cmake
        DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/TQServiceCode)
