# GoogleTest is built from Debian's source tree (/usr/src/googletest), from
# a copy in the build folder with the patches of cmake/googletest-*.patch
# applied; nothing is fetched. The copy is made again when the source or a
# patch changes.
#
# googletest-watcher-start.patch: on Windows the framework starts a thread
# that watches each thread using one of its thread-locals (SCOPED_TRACE, a
# failure reported) and did not wait for it to run. A test program that
# ends within a millisecond of such a first use (a SCOPED_TRACE in its last
# tests) then ends that thread while it is still starting, which under
# Wine can take the 32-bit process down after all its tests passed. The
# patch has the framework wait until the watcher runs.
#
# cardinit_patched_googletest(<source tree> <result variable>) sets the
# result variable to the patched copy's path.
function(cardinit_patched_googletest source result)
  file(GLOB patches ${CMAKE_SOURCE_DIR}/cmake/googletest-*.patch)
  list(SORT patches)
  set(copy ${CMAKE_BINARY_DIR}/googletest-src)
  # What the copy was made from: every file of the source and the patches.
  file(GLOB_RECURSE files LIST_DIRECTORIES false RELATIVE ${source} ${source}/*)
  list(SORT files)
  set(signature "")
  foreach(f IN LISTS files ITEMS ${patches})
    if(IS_ABSOLUTE ${f})
      file(SHA256 ${f} h)
    else()
      file(SHA256 ${source}/${f} h)
    endif()
    string(APPEND signature "${f} ${h}\n")
  endforeach()
  string(SHA256 signature "${signature}")
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${patches})
  set(stamp ${copy}/.cardinit-patched)
  set(made "")
  if(EXISTS ${stamp})
    file(READ ${stamp} made)
  endif()
  if(NOT made STREQUAL signature)
    find_program(CARDINIT_PATCH patch)
    if(NOT CARDINIT_PATCH)
      message(FATAL_ERROR "patch is needed to build GoogleTest (tools/setup.sh installs it)")
    endif()
    file(REMOVE_RECURSE ${copy})
    file(COPY ${source}/ DESTINATION ${copy})
    foreach(p IN LISTS patches)
      execute_process(COMMAND ${CARDINIT_PATCH} -p1 --batch --forward --silent -i ${p}
                      WORKING_DIRECTORY ${copy} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
      if(NOT rc EQUAL 0)
        message(FATAL_ERROR "${p} does not apply to ${source}:\n${out}")
      endif()
    endforeach()
    # The copy keeps the source's times, older than what was built from an
    # earlier copy: all of it counts as new, so that all of it is built again.
    file(GLOB_RECURSE copied LIST_DIRECTORIES false ${copy}/*)
    file(TOUCH ${copied})
    file(WRITE ${stamp} "${signature}")
  endif()
  set(${result} ${copy} PARENT_SCOPE)
endfunction()
