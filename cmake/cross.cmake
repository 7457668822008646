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
# qemu names some CPUs otherwise than GNU does.
set(qemu_names i686=i386 powerpc64le=ppc64le powerpc64=ppc64 powerpc=ppc)
set(qemu ${arch})
foreach(pair IN LISTS qemu_names)
  if(pair MATCHES "^${arch}=(.*)")
    set(qemu ${CMAKE_MATCH_1})
  endif()
endforeach()

set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR ${arch})
if(NOT CMAKE_CXX_COMPILER)
  set(CMAKE_CXX_COMPILER ${TARGET}-g++)
endif()
set(CMAKE_CROSSCOMPILING_EMULATOR /usr/bin/qemu-${qemu} -L /usr/${TARGET})
