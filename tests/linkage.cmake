# Checks a built program against the hardened, lean linkage it is meant to
# have: -D readelf=... -D program=... -D needed=libc.so.6,libm.so.6 -D compiler=GNU
function(readelf option out)
  execute_process(COMMAND ${readelf} -W ${option} ${program} OUTPUT_VARIABLE text COMMAND_ERROR_IS_FATAL ANY)
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

readelf(--dynamic dynamic)
string(REGEX MATCHALL "Shared library: \\[[^]]+\\]" found "${dynamic}")
list(TRANSFORM found REPLACE "Shared library: \\[([^]]+)\\]" "\\1")
list(SORT found)
string(REPLACE "," ";" expected "${needed}")
list(SORT expected)
if(NOT found STREQUAL expected)
  message(SEND_ERROR "loads [${found}], expected [${expected}]")
endif()

# Full RELRO: the relocations are all done at start-up, then made read-only.
if(NOT dynamic MATCHES "FLAGS_1[^\n]*NOW" OR NOT dynamic MATCHES "FLAGS_1[^\n]*PIE")
  message(SEND_ERROR "not a PIE bound at start-up:\n${dynamic}")
endif()
readelf(--segments segments)
if(NOT segments MATCHES "GNU_RELRO")
  message(SEND_ERROR "no RELRO segment")
endif()
readelf(--dyn-syms symbols)
if(NOT symbols MATCHES "__stack_chk_fail")
  message(SEND_ERROR "no stack protector")
endif()
# glibc fortifies printf only for GCC: its wrappers pass on variadic arguments
# in a way Clang does not support.
if(compiler STREQUAL "GNU" AND NOT symbols MATCHES "__[a-z]*printf_chk")
  message(SEND_ERROR "printf is not fortified")
endif()
