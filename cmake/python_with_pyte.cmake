# The Python 3 that runs the end-to-end tests: the first python3 on PATH that
# imports the terminal emulator library pyte (Debian's python3-pyte, which
# scripts/setup.sh installs, serves Debian's /usr/bin/python3; a Python of
# one's own earlier on PATH is passed over unless it has pyte too).
# Sets SYMPACK_TEST_PYTHON, or leaves it NOTFOUND; sympack_python_missing()
# then registers a test that fails and says why, so that the suites never
# vanish silently.
include_guard(GLOBAL)

function(sympack_python_imports_pyte result candidate)
  execute_process(COMMAND "${candidate}" -c "import pyte" RESULT_VARIABLE status OUTPUT_QUIET ERROR_QUIET)
  if(NOT status EQUAL 0)
    set(${result} FALSE PARENT_SCOPE)
  endif()
endfunction()

find_program(SYMPACK_TEST_PYTHON NAMES python3 VALIDATOR sympack_python_imports_pyte NO_CMAKE_FIND_ROOT_PATH
             DOC "Python 3 with pyte (Debian: python3-pyte) for the end-to-end tests")

function(sympack_python_missing test_name)
  add_test(NAME ${test_name}
           COMMAND ${CMAKE_COMMAND} -E echo "no python3 on PATH imports pyte: run scripts/setup.sh (python3-pyte)")
  set_tests_properties(${test_name} PROPERTIES FAIL_REGULAR_EXPRESSION "pyte")
endfunction()
