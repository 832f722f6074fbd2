# Install: the whole ready-to-run program folder under lib/verosta, a launcher in bin,
# the desktop entry and the icon in the hicolor theme.
find_program(PYTHON3 python3 REQUIRED)
add_custom_command(OUTPUT ${PROGRAM_DIR}/res/sound.wav
                   COMMAND ${CMAKE_COMMAND} -E make_directory ${PROGRAM_DIR}/res
                   COMMAND ${PYTHON3} ${CMAKE_SOURCE_DIR}/scripts/make-sound.py ${PROGRAM_DIR}/res/sound.wav
                   DEPENDS ${CMAKE_SOURCE_DIR}/scripts/make-sound.py)
add_custom_target(program_sound ALL DEPENDS ${PROGRAM_DIR}/res/sound.wav)
add_dependencies(verosta program_sound)

set(ICON_SIZES 16 22 24 32 48 64 128 256)
find_program(RSVG_CONVERT rsvg-convert)
set(icon_outputs "")
if(RSVG_CONVERT)
  foreach(size ${ICON_SIZES})
    set(out ${CMAKE_BINARY_DIR}/icons/${size}x${size}/verosta.png)
    add_custom_command(OUTPUT ${out}
                       COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/icons/${size}x${size}
                       COMMAND ${RSVG_CONVERT} -w ${size} -h ${size} -o ${out} ${CMAKE_SOURCE_DIR}/data/res/verosta.svg
                       DEPENDS ${CMAKE_SOURCE_DIR}/data/res/verosta.svg)
    list(APPEND icon_outputs ${out})
    install(FILES ${out} DESTINATION share/icons/hicolor/${size}x${size}/apps)
  endforeach()
endif()
add_custom_target(program_icons ALL DEPENDS ${icon_outputs})

# Only shipped files: a build folder used as a portable copy may also hold a user's files.
install(DIRECTORY ${PROGRAM_DIR}/ DESTINATION lib/verosta USE_SOURCE_PERMISSIONS
        REGEX "/verosta/[^/]+\\.(ini|xml|tmp|html|web|scol)$" EXCLUDE
        REGEX "/verosta/(Sessions|Doc|portable)($|/)" EXCLUDE)
install(FILES ${CMAKE_SOURCE_DIR}/data/New.web DESTINATION lib/verosta)
install(CODE "
  file(MAKE_DIRECTORY \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/bin\")
  execute_process(COMMAND \${CMAKE_COMMAND} -E create_symlink ../lib/verosta/verosta
                  \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/bin/verosta\")")
install(FILES ${CMAKE_SOURCE_DIR}/dist/verosta.desktop DESTINATION share/applications)
install(FILES ${CMAKE_SOURCE_DIR}/data/res/verosta.svg DESTINATION share/icons/hicolor/scalable/apps)
install(FILES ${CMAKE_SOURCE_DIR}/dist/verosta-mime.xml DESTINATION share/mime/packages RENAME verosta.xml)
