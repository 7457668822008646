# Checks a built program against the hardened, lean linkage it is meant to
# have, as far as its compiler and target give it:
#   -D readelf=... -D program=... -D stack_protector=1 -D fortified=1
function(readelf option out)
  execute_process(COMMAND ${readelf} -W ${option} ${program} OUTPUT_VARIABLE text COMMAND_ERROR_IS_FATAL ANY)
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

readelf(--dynamic dynamic)
readelf(--segments segments)
string(REGEX MATCHALL "Shared library: \\[[^]]+\\]" found "${dynamic}")
list(TRANSFORM found REPLACE "Shared library: \\[([^]]+)\\]" "\\1")
# The dynamic loader starts every program anyway; on aarch64 it is also named,
# as the home of the stack protector's guard.
string(REGEX MATCH "program interpreter: [^]]*/([^]/]+)\\]" interpreter "${segments}")
list(REMOVE_ITEM found "${CMAKE_MATCH_1}")
list(SORT found)
# libc, and libm only where the program calls into it: a compiler may take a
# square root inline. Nothing else: no C++ run-time, no sanitizer's. (Alpha
# names them libc.so.6.1 and libm.so.6.1.)
readelf(--version-info versions)
string(REGEX MATCH "File: (libc\\.so\\.6(\\.1)?)" libc "${versions}")
set(expected ${CMAKE_MATCH_1})
if(versions MATCHES "File: (libm\\.so\\.6(\\.1)?)")
  list(APPEND expected ${CMAKE_MATCH_1})
endif()
if(NOT libc)
  message(SEND_ERROR "calls nothing in libc")
endif()
if(NOT found STREQUAL expected)
  message(SEND_ERROR "loads [${found}], expected [${expected}]")
endif()

# Full RELRO: the relocations are all done at start-up, then made read-only.
if(NOT dynamic MATCHES "FLAGS_1[^\n]*NOW" OR NOT dynamic MATCHES "FLAGS_1[^\n]*PIE")
  message(SEND_ERROR "not a PIE bound at start-up:\n${dynamic}")
endif()
if(NOT segments MATCHES "GNU_RELRO")
  message(SEND_ERROR "no RELRO segment")
endif()
readelf(--dyn-syms symbols)
if(stack_protector AND NOT symbols MATCHES "__stack_chk_fail")
  message(SEND_ERROR "no stack protector")
endif()
if(fortified AND NOT symbols MATCHES "__[a-z]*printf_chk")
  message(SEND_ERROR "printf is not fortified")
endif()
