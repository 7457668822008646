# Cross-builds for a Debian architecture with its GCC, and runs the tests
# under qemu-user with the target's libraries:
#   cmake -B build/armhf --toolchain cmake/cross.cmake -D TARGET=arm-linux-gnueabihf
# TARGET is the GNU triple of Debian's cross compiler (g++-TARGET), used unless
# CMAKE_CXX_COMPILER names another, such as clang++ with CMAKE_CXX_COMPILER_TARGET.
if(NOT TARGET)
  set(TARGET $ENV{TARGET})
endif()
if(NOT TARGET)
  message(FATAL_ERROR "cross.cmake needs -D TARGET=TRIPLE, such as arm-linux-gnueabihf")
endif()
# try_compile runs this file again, in a project of its own.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES TARGET)

string(REGEX MATCH "^[^-]+" arch "${TARGET}")
# The qemu-user that runs it, and whether CI checks inexact flags there, by
# its row of targets.tsv read by the header; a triple not there is still built.
file(STRINGS ${CMAKE_CURRENT_LIST_DIR}/../targets.tsv table REGEX "^[^#]")
list(POP_FRONT table header)
string(REPLACE "\t" ";" header "${header}")
foreach(row IN LISTS table)
  string(REPLACE "\t" ";" row "${row}")
  foreach(column IN LISTS header)
    list(POP_FRONT row value)
    set(target_${column} ${value})
  endforeach()
  if(target_triple STREQUAL TARGET)
    break()
  endif()
  unset(target_qemu)
  unset(target_checks)
endforeach()
if(target_qemu AND NOT target_qemu STREQUAL "-")
  set(qemu ${target_qemu})
endif()
if(target_checks STREQUAL "flags")
  set(check_inexact_flags ON)
endif()

set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR ${arch})
if(NOT CMAKE_CXX_COMPILER)
  set(CMAKE_CXX_COMPILER ${TARGET}-g++)
endif()
if(qemu)
  set(CMAKE_CROSSCOMPILING_EMULATOR /usr/bin/qemu-${qemu} -L /usr/${TARGET})
endif()
