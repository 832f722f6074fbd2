# The page language reference is kept with the documentation and shown by the help
# viewer as help/page-language.md. Copied on every build so that the page appears as
# soon as the document exists, without a new configure run.
add_custom_target(help_page_language ALL
                  COMMAND ${CMAKE_COMMAND} -DSRC=${CMAKE_SOURCE_DIR}/docs/page-language.md
                          -DDST=${PROGRAM_DIR}/help/page-language.md
                          -P ${CMAKE_SOURCE_DIR}/cmake/CopyIfPresent.cmake
                  COMMENT "Help: page language reference")
add_dependencies(verosta help_page_language)
