# Installs Virelo like a desktop program and describes its Debian package (cpack).

include(GNUInstallDirs)

# The program finds its sounds, readme.txt (readme-en.txt in English) and its English texts
# beside itself, so all of them go into the folder
# that holds the sounds.
cmake_path(GET VIRELO_SOUND_INSTALL_DIR PARENT_PATH VIRELO_INSTALL_DIR)

configure_file(${PROJECT_SOURCE_DIR}/readme.txt ${VIRELO_PROGRAM_DIR}/readme.txt COPYONLY)
configure_file(${PROJECT_SOURCE_DIR}/readme-en.txt ${VIRELO_PROGRAM_DIR}/readme-en.txt COPYONLY)
install(TARGETS virelo RUNTIME DESTINATION ${VIRELO_INSTALL_DIR})
# The statistics window's library, which the program opens from its own folder.
install(TARGETS virelo_statistik LIBRARY DESTINATION ${VIRELO_INSTALL_DIR})
install(FILES ${VIRELO_PROGRAM_DIR}/readme.txt ${VIRELO_PROGRAM_DIR}/readme-en.txt
        DESTINATION ${VIRELO_INSTALL_DIR})
# The English texts, which the program loads from its own folder.
install(FILES ${VIRELO_QM_FILES} DESTINATION ${VIRELO_INSTALL_DIR})

# The command on the PATH is a relative link; the program resolves it to find its folder.
file(RELATIVE_PATH virelo_command_target /prefix/${CMAKE_INSTALL_BINDIR}
     /prefix/${VIRELO_INSTALL_DIR}/virelo)
file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/packaging/bin)
file(CREATE_LINK ${virelo_command_target} ${CMAKE_BINARY_DIR}/packaging/bin/virelo SYMBOLIC)
install(FILES ${CMAKE_BINARY_DIR}/packaging/bin/virelo DESTINATION ${CMAKE_INSTALL_BINDIR})

install(FILES ${PROJECT_SOURCE_DIR}/packaging/virelo.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/example.virelo.Virelo.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/copyright DESTINATION ${CMAKE_INSTALL_DOCDIR})

# The change log and the manual pages go in compressed as Debian has them, without a time stamp
# so that each build gives the same bytes.
set(virelo_gzipped)
function(virelo_install_gzipped source name destination)
    set(output ${CMAKE_BINARY_DIR}/packaging/${destination}/${name}.gz)
    add_custom_command(OUTPUT ${output}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/packaging/${destination}
        COMMAND sh -c "gzip -9nc \"$1\" >\"$2\"" sh ${source} ${output}
        DEPENDS ${source} VERBATIM)
    install(FILES ${output} DESTINATION ${destination})
    set(virelo_gzipped ${virelo_gzipped} ${output} PARENT_SCOPE)
endfunction()
virelo_install_gzipped(${PROJECT_SOURCE_DIR}/packaging/changelog changelog ${CMAKE_INSTALL_DOCDIR})
virelo_install_gzipped(${PROJECT_SOURCE_DIR}/packaging/virelo.1 virelo.1 ${CMAKE_INSTALL_MANDIR}/man1)
virelo_install_gzipped(${PROJECT_SOURCE_DIR}/packaging/virelo.de.1 virelo.1
                       ${CMAKE_INSTALL_MANDIR}/de/man1)
add_custom_target(packaging_docs ALL DEPENDS ${virelo_gzipped})
install(FILES ${PROJECT_SOURCE_DIR}/resources/pictures/staff.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps RENAME virelo.svg)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME virelo)
set(CPACK_PACKAGE_VENDOR "Virelo-Projekt")
set(CPACK_PACKAGE_CONTACT "Virelo-Projekt <support@virelo.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Notenlese-Trainer für Violin- und Bassschlüssel")
# Debian wants the lines of the long description no longer than 80 characters.
set(CPACK_PACKAGE_DESCRIPTION
    "Virelo übt das Lesen von Noten im Violin- und im Bassschlüssel, auch nach
Gehör: 25 Aufgaben, Antwort per Notenname oder Klaviertaste, am Ende die Zahl
der Fehler. Jede Aufgabe wird aufgezeichnet; eine Statistik zeigt, welche Noten
oft falsch sind, und schwache Noten können öfter geübt werden.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://www.virelo.example/")
# What the program needs at run time: Qt with its SVG, SQL (with the SQLite driver, for the record
# of the tasks) and Charts modules, FluidSynth and a General MIDI SoundFont for the notes, RtMidi
# for MIDI keyboards, RtAudio and aubio for the microphone, the fonts of the windows and of the
# clef signs and accidentals (Euterpe itself: without its ♭ ♮ ♯ no key can be offered), and
# xdg-utils to find the web browser and open readme.txt.
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libc6, libstdc++6, libqt6core6 (>= 6.4), libqt6gui6 (>= 6.4), libqt6widgets6 (>= 6.4), libqt6svg6 (>= 6.4), libqt6sql6 (>= 6.4), libqt6sql6-sqlite, libqt6charts6 (>= 6.4), libfluidsynth3, libasound2, librtmidi6, librtaudio6, libaubio5, libpulse0, timgm6mb-soundfont | fluid-soundfont-gm, fonts-liberation, fonts-oflb-euterpe, qt6-translations-l10n, xdg-utils")
include(CPack)
