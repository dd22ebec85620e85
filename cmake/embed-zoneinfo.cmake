# Writes libical's zone data (a VTIMEZONE file per location) as a C++ table, for the
# Windows program, which has no zone data to read by IANA names:
#
#   cmake -DZONEINFO=DIR -DOUTPUT=FILE -P embed-zoneinfo.cmake
#
# Each VTIMEZONE as its file gives it, less its LAST-MODIFIED line, under its location
# (X-LIC-LOCATION).
cmake_minimum_required(VERSION 3.25)
file(GLOB_RECURSE files ${ZONEINFO}/*.ics)
list(SORT files)
set(table "")
set(count 0)
foreach(file IN LISTS files)
    file(READ ${file} text)
    string(REPLACE "\r" "" text "${text}")
    string(REGEX MATCH "X-LIC-LOCATION:([^\n]+)" found "${text}")
    set(location "${CMAKE_MATCH_1}")
    string(REGEX MATCH "BEGIN:VTIMEZONE\n.*END:VTIMEZONE\n" text "${text}")
    if(location STREQUAL "" OR text STREQUAL "")
        message(FATAL_ERROR "${file} holds no VTIMEZONE with an X-LIC-LOCATION")
    endif()
    string(REGEX REPLACE "LAST-MODIFIED:[^\n]*\n" "" text "${text}")
    # A C string; its semicolons as octal escapes, which CMake's lists leave alone.
    string(REPLACE "\\" "\\\\" text "${text}")
    string(REPLACE "\"" "\\\"" text "${text}")
    string(REPLACE "\n" "\\n" text "${text}")
    string(REPLACE ";" "\\073" text "${text}")
    string(APPEND table "    {\"${location}\",\n     \"${text}\"},\n")
    math(EXPR count "${count} + 1")
endforeach()
file(CONFIGURE OUTPUT ${OUTPUT} CONTENT "// Written by cmake/embed-zoneinfo.cmake from libical's zone data.
#include \"ical/libical_zones_win32.h\"

namespace tessaly::ical {

const ZoneText kLibicalZones[] = {
@table@};
const std::size_t kLibicalZoneCount = @count@;

}  // namespace tessaly::ical
" @ONLY)
