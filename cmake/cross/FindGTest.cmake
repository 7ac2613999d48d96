# GoogleTest for a cross build: Debian's libgtest-dev holds only host
# libraries, but ships the sources in /usr/src/googletest. Built here with the
# target compiler, it gives the same imported names as the host package.
if(TARGET GTest::gtest)
  set(GTest_FOUND TRUE)
  set(GTEST_FOUND TRUE)
  return()
endif()

set(SYMPACK_GTEST_SOURCE_DIR /usr/src/googletest CACHE PATH "GoogleTest sources for the cross build")
if(NOT EXISTS ${SYMPACK_GTEST_SOURCE_DIR}/CMakeLists.txt)
  set(GTest_FOUND FALSE)
  if(GTest_FIND_REQUIRED)
    message(FATAL_ERROR "GoogleTest sources not found in ${SYMPACK_GTEST_SOURCE_DIR} (Debian: libgtest-dev)")
  endif()
  return()
endif()

set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
add_subdirectory(${SYMPACK_GTEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

# Our strict warnings are meant for our own code.
foreach(target gtest gtest_main gmock gmock_main)
  set_target_properties(${target} PROPERTIES COMPILE_OPTIONS "")
endforeach()

# The older names that CMake's own module also offers.
add_library(GTest::GTest ALIAS gtest)
add_library(GTest::Main ALIAS gtest_main)

set(GTest_FOUND TRUE)
set(GTEST_FOUND TRUE)
