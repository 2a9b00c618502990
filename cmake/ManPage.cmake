# Writes one manual page with help2man (cmake -P), dated by the sources (the
# last commit) where that is known, and its gzip -9n copy.
#   -DHELP2MAN -DGZIP -DPROGRAM -DINCLUDE -DEPOCH_FILE -DOUT
file(READ ${EPOCH_FILE} epoch)
if(epoch MATCHES "^[0-9]+$")
  set(ENV{SOURCE_DATE_EPOCH} ${epoch})
endif()
# tarvik answers --help and --version without a display.
set(ENV{QT_QPA_PLATFORM} offscreen)
execute_process(COMMAND ${HELP2MAN} --no-info --section=1 --include=${INCLUDE} --output=${OUT}.tmp ${PROGRAM}
                RESULT_VARIABLE rc ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "help2man ${PROGRAM}: ${err}")
endif()
file(RENAME ${OUT}.tmp ${OUT})
execute_process(COMMAND ${GZIP} -9nkf ${OUT} COMMAND_ERROR_IS_FATAL ANY)
