# libical for the Windows build: the upstream source of Debian's libical3 (the
# .orig.tar.gz of its source package, fetched with apt-get source through the deb-src
# entries scripts/install-deps.sh adds), cross-built with this build's mingw-w64
# toolchain as a static library, without ICU. It is built once and kept in
# build/cache/, where every Windows build folder of the tree (build/windows,
# build/package-windows) finds it: a folder made anew does not build it again.
#
# Gives the imported library tessaly_libical (<libical/ical.h>), and in
# TESSALY_LIBICAL_ZONEINFO libical's own zone data, which the program carries (there
# is no system zone data on Windows), and in TESSALY_LIBICAL_BUILT a file that exists
# once the library is there.

set(libical_version 3.0.16)
set(libical_debian_version 3.0.16-1)
set(libical_tarball_name libical3_${libical_version}.orig.tar.gz)
set(libical_sha256 b44705dd71ca4538c86fb16248483ab4b48978524fb1da5097bd76aa2e0f0c33)

set(TESSALY_DEPENDENCY_CACHE ${PROJECT_SOURCE_DIR}/build/cache CACHE PATH
    "Dependencies built for this tree, shared by its build folders")
set(libical_cache ${TESSALY_DEPENDENCY_CACHE})
set(libical_tarball ${libical_cache}/${libical_tarball_name})
file(MAKE_DIRECTORY ${libical_cache})
# Build folders configured at once fetch it once.
file(LOCK ${libical_cache}/libical.lock GUARD FILE TIMEOUT 1800)

set(libical_have "")
if(EXISTS ${libical_tarball})
    file(SHA256 ${libical_tarball} libical_have)
endif()
if(NOT libical_have STREQUAL libical_sha256)
    set(download ${libical_cache}/libical-download)
    file(REMOVE_RECURSE ${download})
    file(MAKE_DIRECTORY ${download})
    message(STATUS "Fetching the source of Debian's libical3 ${libical_debian_version}")
    execute_process(COMMAND apt-get source --download-only libical3=${libical_debian_version}
                    WORKING_DIRECTORY ${download}
                    RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
    if(NOT EXISTS ${download}/${libical_tarball_name})
        message(FATAL_ERROR "apt-get source did not bring ${libical_tarball_name} (is there a "
                            "deb-src entry? scripts/install-deps.sh adds one):\n${output}")
    endif()
    file(SHA256 ${download}/${libical_tarball_name} libical_have)
    if(NOT libical_have STREQUAL libical_sha256)
        message(FATAL_ERROR "${libical_tarball_name} is not the tarball this build knows "
                            "(SHA-256 ${libical_have})")
    endif()
    # Only the upstream tarball is built; the Debian part (patches, packaging) may be
    # missing from the mirror.
    if(NOT result EQUAL 0)
        string(REGEX MATCHALL "(^|\n)E: [^\n]*" errors "${output}")
        string(REPLACE "\n" "" errors "${errors}")
        string(REPLACE ";" "\n  " errors "${errors}")
        message(STATUS "Only the upstream tarball of libical3 came; the rest of the source "
                       "package did not:\n  ${errors}")
    endif()
    file(RENAME ${download}/${libical_tarball_name} ${libical_tarball})
    file(REMOVE_RECURSE ${download})
endif()

# Only the core library (no C++, GLib or Berkeley DB parts, no tests or documents), with
# libical's zone data, and each function in a section of its own so that the program's
# link keeps what it calls.
set(libical_args
    -DCMAKE_TOOLCHAIN_FILE=${CMAKE_TOOLCHAIN_FILE}
    -DCMAKE_BUILD_TYPE=Release
    "-DCMAKE_C_FLAGS=-ffunction-sections -fdata-sections"
    -DSTATIC_ONLY=ON
    -DUSE_BUILTIN_TZDATA=ON
    -DCMAKE_DISABLE_FIND_PACKAGE_ICU=ON
    -DWITH_CXX_BINDINGS=OFF
    -DICAL_GLIB=OFF
    -DGOBJECT_INTROSPECTION=OFF
    -DICAL_BUILD_DOCS=OFF
    -DLIBICAL_BUILD_TESTING=OFF)
# Another recipe or compiler gets a folder of its own.
string(SHA1 recipe "${libical_sha256};${libical_args};${CMAKE_CXX_COMPILER_VERSION}")
string(SUBSTRING ${recipe} 0 10 recipe)
set(libical_prefix ${libical_cache}/libical-${libical_version}-${TESSALY_MINGW_TRIPLET}-${recipe})
set(TESSALY_LIBICAL_ZONEINFO ${libical_prefix}/zoneinfo)
set(TESSALY_LIBICAL_BUILT ${libical_prefix}/built)

if(NOT EXISTS ${TESSALY_LIBICAL_BUILT})
    include(ExternalProject)
    if(CMAKE_GENERATOR MATCHES "Makefiles")
        set(libical_build_command $(MAKE) ical)  # in the build's own job count
    else()
        set(libical_build_command ${CMAKE_COMMAND} --build <BINARY_DIR> --target ical)
    endif()
    ExternalProject_Add(libical_build
        URL ${libical_tarball}
        URL_HASH SHA256=${libical_sha256}
        DOWNLOAD_EXTRACT_TIMESTAMP ON
        PREFIX ${CMAKE_BINARY_DIR}/libical
        CMAKE_ARGS ${libical_args}
        BUILD_COMMAND ${libical_build_command}
        # The library's own install rules only; its zone data beside them.
        INSTALL_COMMAND ${CMAKE_COMMAND} -DCMAKE_INSTALL_PREFIX=${libical_prefix}
                        -P <BINARY_DIR>/src/libical/cmake_install.cmake
                COMMAND ${CMAKE_COMMAND} -E copy_directory <SOURCE_DIR>/zoneinfo
                        ${TESSALY_LIBICAL_ZONEINFO}
                COMMAND ${CMAKE_COMMAND} -E touch ${TESSALY_LIBICAL_BUILT}
        BUILD_BYPRODUCTS ${libical_prefix}/lib/libical.a ${TESSALY_LIBICAL_BUILT}
        LOG_CONFIGURE ON LOG_BUILD ON LOG_INSTALL ON LOG_OUTPUT_ON_FAILURE ON)
endif()

# The imported library's folder must exist before the library does.
file(MAKE_DIRECTORY ${libical_prefix}/include)
add_library(tessaly_libical STATIC IMPORTED GLOBAL)
set_target_properties(tessaly_libical PROPERTIES
    IMPORTED_LOCATION ${libical_prefix}/lib/libical.a
    INTERFACE_INCLUDE_DIRECTORIES ${libical_prefix}/include
    INTERFACE_COMPILE_DEFINITIONS LIBICAL_ICAL_STATIC_DEFINE
    INTERFACE_LINK_LIBRARIES pthread)
if(TARGET libical_build)
    add_dependencies(tessaly_libical libical_build)
endif()
