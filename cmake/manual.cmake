# The user manual: the HTML pages of docs/manual compiled with chmcmd into
# vantor.chm beside vantor.exe (the help file "c -manual" opens).
option(VANTOR_MANUAL "Compile the user manual vantor.chm with chmcmd" ON)
if(VANTOR_MANUAL)
  find_program(CHMCMD_EXECUTABLE chmcmd)
  if(NOT CHMCMD_EXECUTABLE)
    message(FATAL_ERROR "chmcmd (Debian package fp-utils) compiles the manual vantor.chm: "
                        "install it, or configure with -DVANTOR_MANUAL=OFF")
  endif()
  set(VANTOR_MANUAL_SOURCE_DIR ${CMAKE_SOURCE_DIR}/docs/manual)
  set(VANTOR_MANUAL_WORK_DIR ${CMAKE_BINARY_DIR}/manual)
  file(GLOB VANTOR_MANUAL_SOURCES CONFIGURE_DEPENDS ${VANTOR_MANUAL_SOURCE_DIR}/*)
  # chmcmd writes beside its project file: compile a copy, never in the sources.
  add_custom_command(
    OUTPUT ${CMAKE_BINARY_DIR}/vantor.chm
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${VANTOR_MANUAL_WORK_DIR}
    COMMAND ${CMAKE_COMMAND} -E copy_directory ${VANTOR_MANUAL_SOURCE_DIR} ${VANTOR_MANUAL_WORK_DIR}
    COMMAND ${CMAKE_COMMAND} -E chdir ${VANTOR_MANUAL_WORK_DIR} ${CHMCMD_EXECUTABLE} vantor.hhp
    COMMAND ${CMAKE_COMMAND} -E copy ${VANTOR_MANUAL_WORK_DIR}/vantor.chm ${CMAKE_BINARY_DIR}/vantor.chm
    DEPENDS ${VANTOR_MANUAL_SOURCES}
    COMMENT "Compiling the user manual vantor.chm"
    VERBATIM)
  add_custom_target(manual ALL DEPENDS ${CMAKE_BINARY_DIR}/vantor.chm)
endif()
