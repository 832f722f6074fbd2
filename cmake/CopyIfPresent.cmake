# cmake -DSRC=... -DDST=... -P CopyIfPresent.cmake
# Copies SRC to DST when SRC exists (only when it changed); a missing SRC is not an error.
if(EXISTS "${SRC}")
  get_filename_component(dst_dir "${DST}" DIRECTORY)
  file(MAKE_DIRECTORY "${dst_dir}")
  execute_process(COMMAND ${CMAKE_COMMAND} -E copy_if_different "${SRC}" "${DST}"
                  RESULT_VARIABLE result)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "Could not copy ${SRC} to ${DST}")
  endif()
endif()
