# Lays out the data folders beside the executable. The default Verosta.ini goes to
# res/, from where start-up seeds the user's Verosta folder; res/shipped.txt names every
# shipped data file, so that start-up can tell them from a user's own files of an older copy.
file(GLOB_RECURSE data_files CONFIGURE_DEPENDS RELATIVE ${CMAKE_SOURCE_DIR}/data ${CMAKE_SOURCE_DIR}/data/*)
set(data_outputs "")
foreach(f ${data_files})
  set(dst ${f})
  if(f STREQUAL "Verosta.ini")
    set(dst res/Verosta.ini)
  endif()
  add_custom_command(OUTPUT ${PROGRAM_DIR}/${dst}
                     COMMAND ${CMAKE_COMMAND} -E copy_if_different ${CMAKE_SOURCE_DIR}/data/${f} ${PROGRAM_DIR}/${dst}
                     DEPENDS ${CMAKE_SOURCE_DIR}/data/${f})
  list(APPEND data_outputs ${PROGRAM_DIR}/${dst})
endforeach()
list(JOIN data_files "\n" shipped_text)
file(CONFIGURE OUTPUT ${PROGRAM_DIR}/res/shipped.txt CONTENT "${shipped_text}\n" @ONLY)
add_custom_target(program_data ALL DEPENDS ${data_outputs})
add_dependencies(verosta program_data)
