# ctest script: skinpack pack -> list -> unpack gives back every file of a folder unchanged,
# and a damaged stored skin is refused with a non-zero exit.
#   cmake -DSKINPACK=... -DSRC=folder -DWORK=scratch -P skinpack_cli.cmake
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "${ARGN} failed (${rc}): ${out}${err}")
  endif()
  set(LAST_OUTPUT "${out}" PARENT_SCOPE)
endfunction()

run(${SKINPACK} pack ${SRC} ${WORK}/test.skn)
run(${SKINPACK} list ${WORK}/test.skn)
if(NOT LAST_OUTPUT MATCHES "version 40000")
  message(FATAL_ERROR "list output: ${LAST_OUTPUT}")
endif()
run(${SKINPACK} unpack ${WORK}/test.skn ${WORK}/out)
file(GLOB names RELATIVE ${SRC} ${SRC}/*)
foreach(name ${names})
  string(TOLOWER ${name} lower)  # entry names are lower-cased on reading
  run(${CMAKE_COMMAND} -E compare_files ${SRC}/${name} ${WORK}/out/${lower})
endforeach()

# "not a skin" announces an expanded length of 0x20746F6E bytes, far above the limit.
file(WRITE ${WORK}/damaged.skn "not a skin")
execute_process(COMMAND ${SKINPACK} list ${WORK}/damaged.skn RESULT_VARIABLE rc OUTPUT_QUIET ERROR_QUIET)
if(rc EQUAL 0)
  message(FATAL_ERROR "a damaged skin was listed")
endif()
