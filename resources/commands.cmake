# SPDX-License-Identifier: GPL-3.0-or-later
# The commands have one home, commands.tsv: a name and an id each. The menu
# and the key tables name commands; korvin_put_command_ids() puts the ids in
# before they are embedded, and korvin_write_command_ids() makes the header
# the code uses (cmd::k<name>). A table that names a command the list does
# not have, a name or an id given twice, stop the configuration.

# Reads `file` into the lists `names_var` and `ids_var`.
function(korvin_read_commands file names_var ids_var)
  file(STRINGS ${file} lines ENCODING UTF-8)
  set(names)
  set(ids)
  foreach(line IN LISTS lines)
    if(line STREQUAL "" OR line MATCHES "^#")
      continue()
    endif()
    if(NOT line MATCHES "^([A-Z][A-Za-z0-9]*)\t([0-9]+)$")
      message(FATAL_ERROR "${file}: not a name and an id: \"${line}\"")
    endif()
    set(name ${CMAKE_MATCH_1})
    set(id ${CMAKE_MATCH_2})
    if(name IN_LIST names OR id IN_LIST ids)
      message(FATAL_ERROR "${file}: the name or the id of \"${line}\" is given twice")
    endif()
    list(APPEND names ${name})
    list(APPEND ids ${id})
  endforeach()
  set(${names_var} ${names} PARENT_SCOPE)
  set(${ids_var} ${ids} PARENT_SCOPE)
endfunction()

# In the text of `table_var` (read from `file`), replaces every command name
# by its id: `cell` is SECOND (the menu table) or LAST (the key table).
function(korvin_put_command_ids table_var file cell names ids)
  # A line end before the first line and after the last, so that every line
  # looks alike; taken off again below.
  string(REPLACE "\r" "" text "\n${${table_var}}\n")
  if(cell STREQUAL "SECOND")
    set(before "\n([0-9.]+)\t")
    set(after "\t")
  else()
    set(before "\n([^\t\n]*\t[^\t\n]*)\t")
    set(after "\n")
  endif()
  foreach(name id IN ZIP_LISTS names ids)
    # Each pass again: a match takes the line end that the next line starts with.
    while(text MATCHES "${before}${name}${after}")
      string(REGEX REPLACE "${before}${name}${after}" "\n\\1\t${id}${after}" text "${text}")
    endwhile()
  endforeach()
  if(text MATCHES "${before}([A-Z][A-Za-z0-9]*)${after}")
    message(FATAL_ERROR "${file} names the command ${CMAKE_MATCH_2}, which commands.tsv does not have")
  endif()
  string(LENGTH "${text}" length)
  math(EXPR length "${length} - 2")
  string(SUBSTRING "${text}" 1 ${length} text)
  set(${table_var} "${text}" PARENT_SCOPE)
endfunction()

# Writes the header of the command ids; only when it changes, so that
# configuring again does not build everything again.
function(korvin_write_command_ids header names ids)
  string(CONCAT text "#pragma once\n\n// Made from resources/commands.tsv when the build is configured: change\n"
                     "// that table, not this file.\nnamespace korvin::cmd {\n\n")
  foreach(name id IN ZIP_LISTS names ids)
    string(APPEND text "inline constexpr int k${name} = ${id};\n")
  endforeach()
  string(APPEND text "\n}  // namespace korvin::cmd\n")
  file(CONFIGURE OUTPUT ${header} CONTENT "${text}" @ONLY)
endfunction()
