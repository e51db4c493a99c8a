# Install step: dalvino-cli.1.gz from the built dalvino-cli's --help (see CMakeLists.txt).
find_program(HELP2MAN help2man REQUIRED)
find_program(GZIP gzip REQUIRED)
get_filename_component(page "${DALVINO_MAN_PAGE}" NAME_WLE)
get_filename_component(folder "${DALVINO_MAN_PAGE}" DIRECTORY)
execute_process(
  COMMAND ${HELP2MAN} --no-info --section=1 --version-string=${DALVINO_VERSION}
          "--name=phone-book file work of Dalvino without a window"
          --output=${folder}/${page} ${DALVINO_CLI}
  COMMAND_ERROR_IS_FATAL ANY)
# -n: no time stamp, so that the same program gives the same package.
execute_process(COMMAND ${GZIP} -9nf ${folder}/${page} COMMAND_ERROR_IS_FATAL ANY)
