# `make package`: a Debian package of the installed layout under /usr. The program folder
# (/usr/lib/verosta) is only read; each user's files live in their own Verosta folder.
find_program(GZIP gzip REQUIRED)
set(doc_outputs ${CMAKE_BINARY_DIR}/dist/verosta.1.gz ${CMAKE_BINARY_DIR}/dist/changelog.gz)
add_custom_command(OUTPUT ${doc_outputs}
                   COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/dist
                   COMMAND ${GZIP} -9n -c ${CMAKE_SOURCE_DIR}/dist/verosta.1 > ${CMAKE_BINARY_DIR}/dist/verosta.1.gz
                   COMMAND ${GZIP} -9n -c ${CMAKE_SOURCE_DIR}/dist/changelog > ${CMAKE_BINARY_DIR}/dist/changelog.gz
                   DEPENDS ${CMAKE_SOURCE_DIR}/dist/verosta.1 ${CMAKE_SOURCE_DIR}/dist/changelog)
add_custom_target(package_docs ALL DEPENDS ${doc_outputs})
install(FILES ${CMAKE_BINARY_DIR}/dist/verosta.1.gz DESTINATION share/man/man1)
install(FILES ${CMAKE_BINARY_DIR}/dist/changelog.gz ${CMAKE_SOURCE_DIR}/dist/copyright DESTINATION share/doc/verosta)
install(FILES ${CMAKE_SOURCE_DIR}/dist/org.verosta.editor.metainfo.xml DESTINATION share/metainfo)
# The programs come in with the program folder, not as install targets, so strip them here.
# --strip-unneeded keeps the dynamic symbols the editor exports.
if(CMAKE_STRIP)
  install(CODE "
    foreach(p verosta Comp Delete verosta_print.so verosta_sound.so)
      set(f \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/lib/verosta/\${p}\")
      if(EXISTS \"\${f}\")
        execute_process(COMMAND ${CMAKE_STRIP} --strip-unneeded --remove-section=.comment --remove-section=.note \"\${f}\")
      endif()
    endforeach()")
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME verosta)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_PACKAGE_CONTACT "Verosta editor developers <verosta@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "editor for small web sites")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Verosta edits web programs (HTML mixed with a small page language), HTML,
 CSS, JavaScript and plain text in tabs with syntax colouring, inserts
 ready-made fragments from dialogs, keeps a fragment library and sessions,
 turns a program into a web page, previews it and publishes it over FTP.")
set(CPACK_DEBIAN_PACKAGE_SECTION editors)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Loaded as plugins, so the library scan does not see them: the window system and SVG icons.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, libqt6svg6")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
