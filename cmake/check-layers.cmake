# Fails on an #include "x/y.h" in src/ that no link of the build allows, naming each
# with its file and line. The test `layers` (ctest -L layers) runs it:
#
#   cmake -D SOURCE_DIR=<src> -D ALLOWED=<build>/layers-allowed.cmake -P check-layers.cmake
#
# The rules (ALLOWED is written at configure time by cmake/layers.cmake):
#  - A folder is a path under src/ that holds files: core, calendar, ui/qt... Every source
#    and header belongs to its folder, and a folder to the targets that compile its
#    sources. A source that a target takes from outside the folder it is defined in (a
#    module compiling ../core/winansi.cpp) is borrowed and does not count.
#  - A folder may include itself, the other folders of its targets, and the folders of
#    every target they reach through their links (LINK_LIBRARIES and
#    INTERFACE_LINK_LIBRARIES, transitively, over the project's own targets). So
#    src/app and src/platform never include each other while neither links the other.
#  - A folder with neither sources nor a target (headers only) may be included by
#    anyone, and its own includes are not checked.
#  - A folder that has sources but no target in this build (the other platform's front
#    end) is not checked here, and including it is not allowed.
#  - Only includes whose path before the file name is a folder of src/ are looked at.
cmake_minimum_required(VERSION 3.25)
include(${ALLOWED})

file(GLOB_RECURSE files LIST_DIRECTORIES false RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/*)
set(folders)
set(folders_with_sources)
foreach(file IN LISTS files)
    get_filename_component(folder "${file}" DIRECTORY)
    list(APPEND folders "${folder}")
    if(file MATCHES "\\.(c|cc|cpp|cxx)$")
        list(APPEND folders_with_sources "${folder}")
    endif()
endforeach()
list(REMOVE_DUPLICATES folders)

set(problems)
set(checked 0)
foreach(file IN LISTS files)
    get_filename_component(folder "${file}" DIRECTORY)
    if(NOT file MATCHES "\\.(h|hh|hpp|inl|c|cc|cpp|cxx)$" OR NOT folder IN_LIST folders_with_targets)
        continue()
    endif()
    math(EXPR checked "${checked} + 1")
    file(READ ${SOURCE_DIR}/${file} text)
    # One list item per line: characters that would join or split items go.
    string(REGEX REPLACE "[][;\\\\]" " " text "${text}")
    string(REPLACE "\n" ";" lines "${text}")
    set(number 0)
    foreach(line IN LISTS lines)
        math(EXPR number "${number} + 1")
        if(NOT line MATCHES "^[ \t]*#[ \t]*include[ \t]*\"(([^\"]+)/[^\"/]+)\"")
            continue()
        endif()
        set(path "${CMAKE_MATCH_1}")
        set(included "${CMAKE_MATCH_2}")
        if(included STREQUAL folder OR NOT included IN_LIST folders OR
           included IN_LIST allowed_${folder})
            continue()
        endif()
        if(included IN_LIST folders_with_targets)
            set(why "no link of ${targets_${folder}} reaches ${included}")
        elseif(included IN_LIST folders_with_sources)
            set(why "no target of this build compiles ${included}")
        else()
            continue()
        endif()
        list(APPEND problems "src/${file}:${number}: \"${path}\": ${why}")
    endforeach()
endforeach()

if(problems)
    foreach(problem IN LISTS problems)
        message("${problem}")
    endforeach()
    list(LENGTH problems count)
    message(FATAL_ERROR "layers: ${count} includes that no link allows")
endif()
list(LENGTH folders_with_targets built)
message("layers: the includes of ${checked} files in ${built} folders follow the links")
