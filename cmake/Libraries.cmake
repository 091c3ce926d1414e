# What makes a library installable: its file name and version, its export macro, and which
# of its headers are installed.
include(GenerateExportHeader)

# tq_shared_library(<target> OUTPUT_NAME <file name>)
# The library file carries the project's version and, as its SONAME, the major version
# (libtqservicecode-host.so.2); the file name starts with "tqservicecode" so that it cannot
# clash with another package's. The export macro (TQHOST_EXPORT for tqhost) comes from the
# generated <target>/<target>_export.h, which installs beside the library's headers.
#
# Symbols keep the compiler's default visibility: the tests link many internal classes of the
# shared libraries, and hiding them would mean either exporting every one of them or linking
# the tests against a second, static copy of the code, with a second copy of its statics (the
# ScreenFactory registry, the component's context). The export macros mark the classes a host
# uses, so that hidden visibility can be switched on once the tests reach only those.
function(tq_shared_library target)
    cmake_parse_arguments(arg "" "OUTPUT_NAME" "" ${ARGN})
    string(TOUPPER "${target}" base)
    set(folder "${CMAKE_CURRENT_BINARY_DIR}/export")
    generate_export_header(${target} BASE_NAME ${base}
                           EXPORT_FILE_NAME "${folder}/${target}/${target}_export.h")
    target_include_directories(${target} PUBLIC $<BUILD_INTERFACE:${folder}>)
    set_target_properties(${target} PROPERTIES
        OUTPUT_NAME "${arg_OUTPUT_NAME}"
        VERSION "${PROJECT_VERSION}"
        SOVERSION "${PROJECT_VERSION_MAJOR}"
        TQ_EXPORT_HEADER "${folder}/${target}/${target}_export.h"
        # Installed beside each other: a library finds the others in its own folder.
        INSTALL_RPATH "$ORIGIN")
endfunction()

# Which headers a library installs, kept on the target as TQ_PUBLIC_HEADERS (absolute paths)
# with the folder they are installed relative to (TQ_PUBLIC_HEADER_BASE), so that one rule in
# Package.cmake installs every library's headers under the include folder.

# tq_public_headers(<target> BASE <dir> HEADERS <entry headers...>)
# The public headers are the entry headers plus every header of the same library they
# include, followed to the end: a public header that starts including one of the library's
# other headers makes that one public too, and nothing else of the library is installed.
function(tq_public_headers target)
    cmake_parse_arguments(arg "" "BASE" "HEADERS" ${ARGN})
    set(found "")
    set(pending ${arg_HEADERS})
    while(pending)
        list(POP_FRONT pending header)
        if(header IN_LIST found)
            continue()
        endif()
        if(NOT EXISTS "${header}")
            message(FATAL_ERROR "Public header of ${target} not found: ${header}")
        endif()
        list(APPEND found "${header}")
        file(STRINGS "${header}" includes REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"][^>\"]+[>\"]")
        foreach(line IN LISTS includes)
            string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*[<\"]([^>\"]+)[>\"].*" "\\1"
                   included "${line}")
            if(EXISTS "${arg_BASE}/${included}")
                list(APPEND pending "${arg_BASE}/${included}")
            endif()
        endforeach()
    endwhile()
    list(SORT found)
    set_target_properties(${target} PROPERTIES TQ_PUBLIC_HEADERS "${found}"
                                               TQ_PUBLIC_HEADER_BASE "${arg_BASE}")
endfunction()

# tq_install_public_headers(<targets...>): each target's public headers under the include
# folder, in the folders they have below their base (tqservicecode/codes/...).
function(tq_install_public_headers)
    foreach(target IN LISTS ARGN)
        get_target_property(headers ${target} TQ_PUBLIC_HEADERS)
        get_target_property(base ${target} TQ_PUBLIC_HEADER_BASE)
        foreach(header IN LISTS headers)
            file(RELATIVE_PATH relative "${base}" "${header}")
            get_filename_component(folder "${relative}" DIRECTORY)
            install(FILES "${header}" DESTINATION "${CMAKE_INSTALL_INCLUDEDIR}/${folder}")
        endforeach()
        get_target_property(export_header ${target} TQ_EXPORT_HEADER)
        if(export_header)
            install(FILES "${export_header}" DESTINATION "${CMAKE_INSTALL_INCLUDEDIR}/${target}")
        endif()
    endforeach()
endfunction()
