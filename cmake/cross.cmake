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
# The qemu-user that runs it, by its row of targets.tsv; a triple not there
# is still built.
file(STRINGS ${CMAKE_CURRENT_LIST_DIR}/../targets.tsv rows REGEX "^[^\t]+\t${TARGET}\t")
if(rows MATCHES "^[^\t]+\t[^\t]+\t[^\t]+\t([^\t]+)\t")
  set(qemu ${CMAKE_MATCH_1})
endif()

set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR ${arch})
if(NOT CMAKE_CXX_COMPILER)
  set(CMAKE_CXX_COMPILER ${TARGET}-g++)
endif()
if(qemu)
  set(CMAKE_CROSSCOMPILING_EMULATOR /usr/bin/qemu-${qemu} -L /usr/${TARGET})
endif()
