# What CPack leaves to the builder's file system and umask, settled after
# it: a tarball's entries are written again sorted by name, with one owner,
# the time stamp and no write bits for group and others; a .deb's members
# are put in it again as GNU ar's deterministic mode writes them.
foreach(package IN LISTS CPACK_PACKAGE_FILES)
  set(unpacked ${package}.unpacked)
  file(REMOVE_RECURSE ${unpacked})
  file(MAKE_DIRECTORY ${unpacked})
  if(package MATCHES "\\.tar\\.gz$")
    execute_process(COMMAND tar -xpzf ${package} -C ${unpacked} --warning=no-timestamp COMMAND_ERROR_IS_FATAL ANY)
    file(GLOB top RELATIVE ${unpacked} ${unpacked}/*)
    execute_process(
      COMMAND tar -C ${unpacked} --sort=name --format=gnu --owner=0 --group=0 --numeric-owner --mode=go-w
                  --mtime=@$ENV{SOURCE_DATE_EPOCH} -cf - ${top}
      COMMAND gzip -9n
      OUTPUT_FILE ${package} COMMAND_ERROR_IS_FATAL ANY)
  elseif(package MATCHES "\\.deb$")
    execute_process(COMMAND ${CPACK_AR} x ${package} WORKING_DIRECTORY ${unpacked} COMMAND_ERROR_IS_FATAL ANY)
    file(REMOVE ${package})
    execute_process(COMMAND ${CPACK_AR} rcD ${package} debian-binary control.tar.gz data.tar.gz
      WORKING_DIRECTORY ${unpacked} COMMAND_ERROR_IS_FATAL ANY)
  endif()
  file(REMOVE_RECURSE ${unpacked})
endforeach()
