# The release archive stands on its own: cpack makes it from the finished
# build, and in a temporary folder outside the repository every link of its
# README names a file it holds and the kit's CMake file builds lvps and the
# example from the archive alone.
# cmake -DBINARY_DIR=... -DSOURCE_DIR=... -P release_archive.cmake
execute_process(COMMAND mktemp -d /tmp/lumeview-archive.XXXXXX OUTPUT_VARIABLE work OUTPUT_STRIP_TRAILING_WHITESPACE)

if(NOT IS_DIRECTORY "${work}")
  message(FATAL_ERROR "no temporary folder")
endif()

function(fail text)
  file(REMOVE_RECURSE ${work})
  message(FATAL_ERROR "${text}")
endfunction()

# Each step has its time limit, so that a hung one fails here, not at
# CTest's limit.
function(run step seconds)
  execute_process(COMMAND ${ARGN} WORKING_DIRECTORY ${work} TIMEOUT ${seconds}
    RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
  if(NOT result EQUAL 0)
    fail("${step} failed (${result}):\n${output}")
  endif()
endfunction()

run("cpack" 60 ${CMAKE_CPACK_COMMAND} -G ZIP --config ${BINARY_DIR}/CPackConfig.cmake -B ${work}/package)
file(GLOB zip ${work}/package/*.zip)
list(LENGTH zip zips)
if(NOT zips EQUAL 1)
  fail("cpack made no single archive: ${zip}")
endif()
file(MAKE_DIRECTORY ${work}/unpacked)
execute_process(COMMAND ${CMAKE_COMMAND} -E tar xf ${zip} WORKING_DIRECTORY ${work}/unpacked RESULT_VARIABLE result)
file(GLOB root LIST_DIRECTORIES true ${work}/unpacked/*)
if(NOT result EQUAL 0 OR NOT EXISTS ${root}/README.md)
  fail("the archive does not unpack to a folder with its README.md")
endif()

# Every link and picture of the README, except web addresses and anchors,
# names a file inside the archive. The brackets go first: a list element
# with an open bracket would keep the semicolons after it.
file(READ ${root}/README.md readme)
string(REPLACE "](" "<link>" readme "${readme}")
string(REPLACE "[" "" readme "${readme}")
string(REPLACE "]" "" readme "${readme}")
string(REGEX MATCHALL "<link>[^)]+" links "${readme}")
if(NOT links)
  fail("README.md has no links")
endif()
foreach(link IN LISTS links)
  string(REGEX REPLACE "^<link>([^#]*).*$" "\\1" target "${link}")
  if(target STREQUAL "" OR target MATCHES "^[a-z]+:")
    continue()
  endif()
  get_filename_component(file ${root}/${target} ABSOLUTE)
  string(FIND "${file}" "${root}/" inside)
  if(NOT inside EQUAL 0 OR NOT EXISTS ${file} OR IS_DIRECTORY ${file})
    fail("README.md links to ${target}, which the archive does not hold")
  endif()
endforeach()

if(NOT EXISTS ${root}/lumeview.chm)
  fail("the archive lacks the help file lumeview.chm")
endif()

# The kit with the same cross compilers, from a copy of the toolchain file:
# nothing of the repository is at hand.
file(COPY ${SOURCE_DIR}/cmake/mingw-i686.cmake DESTINATION ${work})
run("configuring the kit" 30 ${CMAKE_COMMAND} -S ${root}/printside -B ${work}/kit -G Ninja
  -DCMAKE_TOOLCHAIN_FILE=${work}/mingw-i686.cmake -DCMAKE_BUILD_TYPE=Release)
run("building the kit" 60 ${CMAKE_COMMAND} --build ${work}/kit)
foreach(built liblvps.a lvps_print_job.exe)
  if(NOT EXISTS ${work}/kit/${built})
    fail("the kit's build made no ${built}")
  endif()
endforeach()
file(READ ${work}/kit/build.ninja rules)
string(FIND "${rules}" "${SOURCE_DIR}/" reached)
if(NOT reached EQUAL -1)
  fail("the kit's build reaches into ${SOURCE_DIR}")
endif()

file(REMOVE_RECURSE ${work})
