# SPDX-License-Identifier: GPL-3.0-or-later
# Fails when a file of the system's code (src/ outside src/desktop) includes a
# header of Qt, libmpv or libxml2: only src/desktop may use them. With
# CACHE_FILE (the CMakeCache.txt of a build without the desktop program), also
# fails when that build looked for one of them.
#   cmake -DSOURCE_DIR=<checkout>/src [-DCACHE_FILE=<build>/CMakeCache.txt] -P layering.cmake
if(DEFINED CACHE_FILE)
  file(STRINGS "${CACHE_FILE}" looked REGEX "^(Qt6[A-Za-z]*_DIR|PKG_CONFIG_EXECUTABLE|LIBXML2_[A-Z_]+|MPV_[A-Z_]+|LIBZIP_[A-Z_]+)[:=]")
  if(looked)
    list(JOIN looked "\n  " lines)
    message(FATAL_ERROR "The build without the desktop program looked for its libraries:\n  ${lines}")
  endif()
endif()

file(GLOB_RECURSE files LIST_DIRECTORIES false "${SOURCE_DIR}/*.h" "${SOURCE_DIR}/*.hpp" "${SOURCE_DIR}/*.cpp"
     "${SOURCE_DIR}/*.cc" "${SOURCE_DIR}/*.in")
set(found "")
foreach(file IN LISTS files)
  file(RELATIVE_PATH relative "${SOURCE_DIR}" "${file}")
  if(relative MATCHES "^desktop/")
    continue()
  endif()
  file(STRINGS "${file}" includes REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"](Q|qt|mpv/|libxml/|dbus/|zip\\.h|archive)")
  foreach(include IN LISTS includes)
    string(STRIP "${include}" include)
    list(APPEND found "src/${relative}: ${include}")
  endforeach()
endforeach()
list(LENGTH files count)
if(count EQUAL 0)
  message(FATAL_ERROR "No source files under ${SOURCE_DIR}")
endif()
if(found)
  list(JOIN found "\n  " lines)
  message(FATAL_ERROR "Only src/desktop may include Qt, libmpv, libxml2, libzip or D-Bus:\n  ${lines}")
endif()
