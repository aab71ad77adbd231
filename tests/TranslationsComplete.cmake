# Fails when the English file lacks a translation of a text in the code, or still holds one the
# code no longer has. Works on a copy, so the file itself is never rewritten by the check.
get_filename_component(folder ${COPY} DIRECTORY)
file(MAKE_DIRECTORY ${folder})
configure_file(${TS_FILE} ${COPY} COPYONLY)
execute_process(COMMAND ${LUPDATE} -locations none @${SOURCES} -ts ${COPY}
                RESULT_VARIABLE failed OUTPUT_VARIABLE said ERROR_VARIABLE said)
if(failed)
    message(FATAL_ERROR "lupdate failed:\n${said}")
endif()
file(READ ${COPY} updated)
string(REGEX MATCHALL "<source>[^<]*</source>[^<]*(<comment>[^<]*</comment>[^<]*)?<translation type=\"(unfinished|vanished|obsolete)\"" faults "${updated}")
string(REGEX MATCHALL "<source>" texts "${updated}")
list(LENGTH texts count)
if(count EQUAL 0)
    message(FATAL_ERROR "lupdate found no texts at all:\n${said}")
endif()
if(faults)
    string(REPLACE ";" "\n" faults "${faults}")
    message(FATAL_ERROR "translations/virelo_en.ts is not up to date with the code (build the "
                        "target update_translations and translate what is unfinished):\n${faults}")
endif()
message(STATUS "${count} texts, each translated")
