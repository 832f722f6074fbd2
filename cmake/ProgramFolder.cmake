# Lays out the data folders beside the executable. Verosta.ini is copied only
# when the folder has none, so a user's settings survive a rebuild.
file(GLOB_RECURSE data_files CONFIGURE_DEPENDS RELATIVE ${CMAKE_SOURCE_DIR}/data ${CMAKE_SOURCE_DIR}/data/*)
set(data_outputs "")
foreach(f ${data_files})
  if(f STREQUAL "Verosta.ini")
    continue()
  endif()
  add_custom_command(OUTPUT ${PROGRAM_DIR}/${f}
                     COMMAND ${CMAKE_COMMAND} -E copy_if_different ${CMAKE_SOURCE_DIR}/data/${f} ${PROGRAM_DIR}/${f}
                     DEPENDS ${CMAKE_SOURCE_DIR}/data/${f})
  list(APPEND data_outputs ${PROGRAM_DIR}/${f})
endforeach()
add_custom_target(program_data ALL DEPENDS ${data_outputs}
                  COMMAND ${CMAKE_COMMAND} -DSRC=${CMAKE_SOURCE_DIR}/data/Verosta.ini -DDST=${PROGRAM_DIR}/Verosta.ini
                          -P ${CMAKE_SOURCE_DIR}/cmake/CopyIfMissing.cmake)
add_dependencies(verosta program_data)
