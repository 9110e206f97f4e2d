# cardinit_stdcall_import(<dll-target> <export-def> <alias>)
#
# A DLL whose .def exports only decorated stdcall names ("_Name@N = Name@N")
# needs an import library that binds a caller's plain declaration
# (int __stdcall Name(...), which the compiler calls Name@N) to the decorated
# export: "Name@N == _Name@N". This makes it from the same .def with dlltool,
# as lib<dll-target>.a, and an INTERFACE target <alias> that host programs
# link (header directory, import library, build order).
#
# The import library the linker writes on its own (lib<dll>.dll.a) binds the
# wrong names; it is put aside so that "-l<dll>" finds ours.
function(cardinit_stdcall_import dll def alias)
  set_target_properties(${dll} PROPERTIES
    ARCHIVE_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/lib/linker-implib)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${def})
  file(STRINGS ${def} def_lines)
  set(import_def "LIBRARY ${dll}.dll\nEXPORTS\n")
  foreach(line IN LISTS def_lines)
    if(line MATCHES "^[ \t]*_([A-Za-z0-9_]+@[0-9]+)[ \t]*=[ \t]*([A-Za-z0-9_]+@[0-9]+)")
      string(APPEND import_def "  ${CMAKE_MATCH_2} == _${CMAKE_MATCH_1}\n")
    endif()
  endforeach()
  set(import_def_file ${CMAKE_CURRENT_BINARY_DIR}/${dll}Import.def)
  file(WRITE ${import_def_file} "${import_def}")
  set(implib ${CMAKE_ARCHIVE_OUTPUT_DIRECTORY}/lib${dll}.a)
  add_custom_command(OUTPUT ${implib}
    COMMAND i686-w64-mingw32-dlltool -d ${import_def_file} -l ${implib}
    DEPENDS ${def} ${import_def_file}
    COMMENT "Import library of ${dll}.dll")
  add_custom_target(${dll}_implib DEPENDS ${implib} ${dll})
  string(REPLACE "::" "_" alias_target ${alias})
  add_library(${alias_target} INTERFACE)
  if(NOT alias_target STREQUAL alias)
    add_library(${alias} ALIAS ${alias_target})
  endif()
  add_dependencies(${alias_target} ${dll}_implib)
  target_include_directories(${alias_target} INTERFACE ${CMAKE_CURRENT_SOURCE_DIR})
  target_link_libraries(${alias_target} INTERFACE ${implib})
endfunction()
