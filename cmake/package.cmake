# The packages: a .deb and a tarball of the installed files for the
# architecture the programs are built for, and a tarball of the sources.
# Every build of one release packs the same bytes.
set(CPACK_GENERATOR DEB TGZ)
set(CPACK_PACKAGE_CONTACT "The rucalc developers <maintainers@users.noreply.c-seed-96302ccf.example>")
set(CPACK_PACKAGE_DESCRIPTION "\
trigab evaluates two fixed trigonometric expressions of three numbers,
rtriangle gives the hypotenuse and area of a right triangle and cubecalc
the volume and lateral area of a cube. Each asks for its numbers in
Russian and prints its results with Russian labels, the same bytes on
every build, so that scripts can compare them.")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION math)
# Folders as Debian has them, whatever the builder's umask.
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

# The Debian architecture of the compiler's target, which names both
# packages; packing stops if there is none.
execute_process(COMMAND dpkg-architecture -t "${CMAKE_LIBRARY_ARCHITECTURE}" -qDEB_HOST_ARCH
  OUTPUT_VARIABLE debian_architecture OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE "${debian_architecture}")
set(CPACK_SYSTEM_NAME "${debian_architecture}")

set(CPACK_SOURCE_GENERATOR TGZ)
set(CPACK_SOURCE_PACKAGE_FILE_NAME ${PROJECT_NAME}-${PROJECT_VERSION})

# At packing time: the time stamp of every file, the date of the newest
# changelog entry unless SOURCE_DATE_EPOCH gives one; and the libc the
# programs need, from the newest glibc symbol version they name, as
# dpkg-shlibdeps finds it (which cannot look at another architecture's).
file(CONFIGURE OUTPUT CPackProjectConfig.cmake @ONLY CONTENT [[
if(NOT DEFINED ENV{SOURCE_DATE_EPOCH})
  execute_process(COMMAND dpkg-parsechangelog -l "@PROJECT_SOURCE_DIR@/changelog" -STimestamp
    OUTPUT_VARIABLE epoch OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "no time stamp for the packages: dpkg-parsechangelog (dpkg-dev) cannot read the changelog")
  endif()
  set(ENV{SOURCE_DATE_EPOCH} "${epoch}")
endif()
# The source package packs the tracked files, copied aside; with no git of
# its own (an unpacked source tarball), every file but build trees.
if(CPACK_INSTALLED_DIRECTORIES)
  set(source "@PROJECT_SOURCE_DIR@")
  set(staging "@PROJECT_BINARY_DIR@/source-files")
  file(REMOVE_RECURSE "${staging}")
  execute_process(COMMAND git -C "${source}" rev-parse --show-toplevel
    OUTPUT_VARIABLE top OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE no_git ERROR_QUIET)
  file(REAL_PATH "${source}" real)
  if(NOT no_git AND top STREQUAL real)
    execute_process(COMMAND git -C "${source}" ls-files OUTPUT_VARIABLE files COMMAND_ERROR_IS_FATAL ANY)
    string(REGEX REPLACE "\n$" "" files "${files}")
    string(REPLACE "\n" ";" files "${files}")
  else()
    file(GLOB_RECURSE files RELATIVE "${source}" "${source}/*")
    file(GLOB_RECURSE trees RELATIVE "${source}" "${source}/*CMakeCache.txt")
    foreach(tree IN LISTS trees)
      get_filename_component(tree "${tree}" DIRECTORY)
      list(FILTER files EXCLUDE REGEX "^${tree}/")
    endforeach()
    list(FILTER files EXCLUDE REGEX "(^|/)__pycache__/")
  endif()
  foreach(f IN LISTS files)
    get_filename_component(folder "${f}" DIRECTORY)
    file(COPY "${source}/${f}" DESTINATION "${staging}/${folder}")
  endforeach()
  set(CPACK_INSTALLED_DIRECTORIES "${staging};/")
  set(CPACK_IGNORE_FILES "")
elseif(NOT CPACK_SYSTEM_NAME)
  message(FATAL_ERROR "no package: dpkg-architecture (dpkg-dev) names no Debian architecture for '@CMAKE_LIBRARY_ARCHITECTURE@'")
endif()
if(CPACK_GENERATOR STREQUAL "DEB")
  set(glibc 0)
  foreach(program trigab rtriangle cubecalc)
    execute_process(COMMAND "@CMAKE_READELF@" -W --version-info "@PROJECT_BINARY_DIR@/${program}/${program}"
      OUTPUT_VARIABLE versions COMMAND_ERROR_IS_FATAL ANY)
    # Debian names the C library's package for its soname: libc6, or libc6.1 on alpha.
    string(REGEX MATCH "File: libc\\.so\\.([0-9.]+)" libc "${versions}")
    set(libc libc${CMAKE_MATCH_1})
    string(REGEX MATCHALL "Name: GLIBC_[0-9.]+" versions "${versions}")
    foreach(v IN LISTS versions)
      string(REPLACE "Name: GLIBC_" "" v "${v}")
      if(v VERSION_GREATER glibc)
        set(glibc ${v})
      endif()
    endforeach()
  endforeach()
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "${libc} (>= ${glibc})")
endif()
]])
set(CPACK_PROJECT_CONFIG_FILE ${PROJECT_BINARY_DIR}/CPackProjectConfig.cmake)
# CPack leaves the order of a tarball and the modes in a .deb to the builder.
set(CPACK_AR ${CMAKE_AR})
set(CPACK_POST_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/repack.cmake)
include(CPack)
