# The CMake package TQServiceCode: a host writes find_package(TQServiceCode) and links
# TQServiceCode::tqservicecode, TQServiceCode::tqhost, TQServiceCode::tqplatform (and
# TQServiceCode::tqglobal, the host's interface, which the others bring along). It works from
# the build tree (TQServiceCode_DIR set to the build folder) and from an installed tree.
include(CMakePackageConfigHelpers)

set(TQ_PACKAGE_TARGETS tqglobal tqplatform tqservicecode tqhost)
set(TQ_CMAKE_PACKAGE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/TQServiceCode)

export(TARGETS ${TQ_PACKAGE_TARGETS}
       NAMESPACE TQServiceCode::
       FILE ${PROJECT_BINARY_DIR}/TQServiceCodeTargets.cmake)
configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/TQServiceCodeConfig.cmake.in
    ${PROJECT_BINARY_DIR}/TQServiceCodeConfig.cmake
    INSTALL_DESTINATION ${TQ_CMAKE_PACKAGE_DIR})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/TQServiceCodeConfigVersion.cmake
    VERSION ${PROJECT_VERSION} COMPATIBILITY SameMajorVersion)

install(TARGETS ${TQ_PACKAGE_TARGETS} EXPORT TQServiceCodeTargets
        LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
        ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
        RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
tq_install_public_headers(${TQ_PACKAGE_TARGETS})
install(EXPORT TQServiceCodeTargets NAMESPACE TQServiceCode:: DESTINATION ${TQ_CMAKE_PACKAGE_DIR})
install(FILES ${PROJECT_BINARY_DIR}/TQServiceCodeConfig.cmake
              ${PROJECT_BINARY_DIR}/TQServiceCodeConfigVersion.cmake
        DESTINATION ${TQ_CMAKE_PACKAGE_DIR})

# The programs, wherever they are defined (this runs after every folder): they find the
# libraries in the lib folder beside their bin folder.
foreach(program tqdemo tqrefcodes)
    if(TARGET ${program})
        set_target_properties(${program} PROPERTIES
            INSTALL_RPATH "$ORIGIN/../${CMAKE_INSTALL_LIBDIR}")
        install(TARGETS ${program} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
    endif()
endforeach()
# The reference-database builder reads the shipped code sets from the data folder beside its
# bin folder: TQ_INSTALLED_CODESETS is that folder relative to the program's own.
if(TARGET tqrefcodes)
    file(RELATIVE_PATH codesets ${CMAKE_INSTALL_FULL_BINDIR}
         ${CMAKE_INSTALL_FULL_DATADIR}/tqservicecode/codesets)
    target_compile_definitions(tqrefcodes PRIVATE TQ_INSTALLED_CODESETS="${codesets}")
endif()

# The shipped data: the compressed reference code sets the builder turns into a database.
if(EXISTS ${PROJECT_SOURCE_DIR}/data/codesets)
    install(DIRECTORY ${PROJECT_SOURCE_DIR}/data/codesets
            DESTINATION ${CMAKE_INSTALL_DATADIR}/tqservicecode)
endif()
install(FILES ${PROJECT_SOURCE_DIR}/LICENSE ${PROJECT_SOURCE_DIR}/CHANGELOG.md
              ${PROJECT_SOURCE_DIR}/docs/host-vendor.md
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/tqservicecode)

if(PROJECT_IS_TOP_LEVEL)
    include(${PROJECT_SOURCE_DIR}/cmake/DebianPackage.cmake)
endif()
