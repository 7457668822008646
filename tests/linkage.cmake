# Checks a built program's linkage, hardened and lean as far as its compiler
# and target give it: it loads what LEAST, an empty program, loads, and
# nothing MOST, one calling what it may, does not (no C++ run-time).
#   -D readelf=... -D program=... -D least=... -D most=... -D stack_protector=1 -D fortified=1
cmake_policy(VERSION 3.25)
# The libraries a file loads but the dynamic loader, which starts every
# program anyway (aarch64 names it, as the home of the stack guard).
function(loads file out)
  execute_process(COMMAND ${readelf} -W --dynamic --segments --dyn-syms ${file} OUTPUT_VARIABLE elf COMMAND_ERROR_IS_FATAL ANY)
  string(REGEX MATCHALL "Shared library: \\[[^]]+\\]" found "${elf}")
  list(TRANSFORM found REPLACE "Shared library: \\[([^]]+)\\]" "\\1")
  string(REGEX MATCH "program interpreter: [^]]*/([^]/]+)\\]" interpreter "${elf}")
  list(REMOVE_ITEM found "" "${CMAKE_MATCH_1}")
  set(${out} "${found}" PARENT_SCOPE)
  set(ELF "${elf}" PARENT_SCOPE)
endfunction()
loads(${least} least)
loads(${most} most)
loads(${program} found)
foreach(library IN LISTS least found)
  if(NOT library IN_LIST found OR NOT library IN_LIST most)
    message(SEND_ERROR "loads [${found}]: at least [${least}] and no more than [${most}]")
    break()
  endif()
endforeach()

# Full RELRO: the relocations are all done at start-up, then made read-only.
if(NOT ELF MATCHES "FLAGS_1[^\n]*NOW" OR NOT ELF MATCHES "FLAGS_1[^\n]*PIE" OR NOT ELF MATCHES "GNU_RELRO")
  message(SEND_ERROR "not a PIE bound at start-up with a RELRO segment:\n${ELF}")
endif()
if(stack_protector AND NOT ELF MATCHES "__stack_chk_fail")
  message(SEND_ERROR "no stack protector")
endif()
if(fortified AND NOT ELF MATCHES "__[a-z]*printf_chk")
  message(SEND_ERROR "printf is not fortified")
endif()
