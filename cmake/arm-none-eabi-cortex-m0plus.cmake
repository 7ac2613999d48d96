# Cross-compiling the fst4 library for a Cortex-M0+ microcontroller with
# Debian's gcc-arm-none-eabi (newlib), the way beacon firmware builds it:
# Thumb code, size-optimised, without exceptions or RTTI, unused functions
# and data droppable at link time.
set(CMAKE_SYSTEM_NAME Generic)
set(CMAKE_SYSTEM_PROCESSOR arm)

set(CMAKE_C_COMPILER arm-none-eabi-gcc)
set(CMAKE_CXX_COMPILER arm-none-eabi-g++)
# There is no operating system to run a test program on.
set(CMAKE_TRY_COMPILE_TARGET_TYPE STATIC_LIBRARY)

set(SYMPACK_CORTEX_M0PLUS_FLAGS "-mcpu=cortex-m0plus -mthumb -ffunction-sections -fdata-sections")
set(CMAKE_C_FLAGS_INIT "${SYMPACK_CORTEX_M0PLUS_FLAGS}")
set(CMAKE_CXX_FLAGS_INIT "${SYMPACK_CORTEX_M0PLUS_FLAGS} -fno-exceptions -fno-rtti")
set(CMAKE_CXX_FLAGS_MINSIZEREL_INIT "-Os -DNDEBUG")

set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
