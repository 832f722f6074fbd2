# The jQuery scripts that New Project copies into a project come from Debian's
# libjs-jquery and libjs-jquery-ui, copied unchanged (licence headers included)
# into the program folder's JavaScript/ beside our own Texteffects.js.
set(JQUERY_FILES
    /usr/share/javascript/jquery/jquery.js
    /usr/share/javascript/jquery-ui/jquery-ui.js)
set(jquery_outputs "")
foreach(src ${JQUERY_FILES})
  if(NOT EXISTS ${src})
    message(FATAL_ERROR "${src} is missing: run scripts/install-deps (libjs-jquery, libjs-jquery-ui)")
  endif()
  get_filename_component(name ${src} NAME)
  add_custom_command(OUTPUT ${PROGRAM_DIR}/JavaScript/${name}
                     COMMAND ${CMAKE_COMMAND} -E make_directory ${PROGRAM_DIR}/JavaScript
                     COMMAND ${CMAKE_COMMAND} -E copy_if_different ${src} ${PROGRAM_DIR}/JavaScript/${name}
                     DEPENDS ${src})
  list(APPEND jquery_outputs ${PROGRAM_DIR}/JavaScript/${name})
endforeach()
add_custom_target(program_jquery ALL DEPENDS ${jquery_outputs})
add_dependencies(verosta program_jquery)
