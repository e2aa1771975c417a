# Compiles the help pages into lumeview.chm (cmake -P, from help/CMakeLists.txt).
# In: SOURCE_DIR (help/), RESOURCE_H, STAGE (a scratch folder), CHMCMD,
# PYTHON, OUTPUT.

# The context numbers come from the header the monitor is built with, so
# that the help file and the program cannot disagree on them.
file(STRINGS ${RESOURCE_H} defines REGEX "^#define IDH_[A-Z_]+ [0-9]+")
set(map "\n[MAP]\n")
foreach(define IN LISTS defines)
  string(REGEX REPLACE "^(#define IDH_[A-Z_]+ [0-9]+).*" "\\1" define "${define}")
  string(APPEND map "${define}\n")
endforeach()

file(REMOVE_RECURSE ${STAGE})
file(MAKE_DIRECTORY ${STAGE})
file(GLOB sources ${SOURCE_DIR}/*.htm ${SOURCE_DIR}/*.css)
file(COPY ${sources} DESTINATION ${STAGE})
file(READ ${SOURCE_DIR}/lumeview.hhp project)
file(WRITE ${STAGE}/lumeview.hhp "${project}${map}")

execute_process(COMMAND ${CHMCMD} lumeview.hhp WORKING_DIRECTORY ${STAGE}
  RESULT_VARIABLE result OUTPUT_VARIABLE log ERROR_VARIABLE log)
if(NOT result EQUAL 0 OR NOT EXISTS ${STAGE}/lumeview.chm OR log MATCHES "Error:|Warning:")
  message(FATAL_ERROR "chmcmd failed (${result}):\n${log}")
endif()
execute_process(COMMAND ${PYTHON} ${SOURCE_DIR}/fix_topic_paths.py
  ${STAGE}/lumeview.hhp ${STAGE}/lumeview.chm ${OUTPUT} RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "the help file's context table could not be rewritten")
endif()
