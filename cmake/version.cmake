# The version and date of the newest debian/changelog entry: `version`
# (MAJOR.MINOR.PATCH, for CMake), `upstream_version` (what the pages print:
# that, and an ~alpha, ~beta or ~rc pre-release if any) and `RELEASE_DATE`
# (YYYY-MM-DD). Whatever a distribution adds is put aside: an epoch, a
# revision, and any suffix that cannot continue the version, Debian's (+b1,
# +nmu1, +deb13u1, ~bpo12+1) as a derivative's (ubuntu1, build1, +rpi1,
# ~22.04.1). A version that does not begin with MAJOR.MINOR.PATCH is refused.
#   include(cmake/version.cmake), or: cmake -D changelog=FILE -P cmake/version.cmake
cmake_policy(VERSION 3.25)
if(NOT changelog)
  set(changelog ${CMAKE_CURRENT_LIST_DIR}/../debian/changelog)
endif()
# The newest entry that is not a binNMU's: a rebuild is no release.
file(READ ${changelog} text)
string(REPLACE ";" "," text "${text}")
string(REGEX MATCHALL "(^|\n)rucalc \\([^)]*\\)[^\n]*" headers "${text}")
string(REGEX MATCHALL "\n -- [^\n]*" signoffs "${text}")
set(entry 0)
foreach(header IN LISTS headers)
  if(NOT header MATCHES "binary-only=yes")
    break()
  endif()
  math(EXPR entry "${entry} + 1")
endforeach()
list(GET headers ${entry} newest)
string(REGEX REPLACE "^\n?rucalc \\(([^)]*)\\) .*" "\\1" debian_version "${newest}")
string(REGEX REPLACE "^[0-9]+:" "" upstream_version "${debian_version}")
string(REGEX REPLACE "-[^-]*$" "" upstream_version "${upstream_version}")
if(NOT upstream_version MATCHES "^([0-9]+\\.[0-9]+\\.[0-9]+)(~(alpha|beta|rc)[0-9]*)?([^0-9.].*)?$")
  message(FATAL_ERROR "${changelog}: no MAJOR.MINOR.PATCH at the start of the newest version: ${newest}")
endif()
set(upstream_version ${CMAKE_MATCH_1}${CMAKE_MATCH_2})
set(version ${CMAKE_MATCH_1})
list(GET signoffs ${entry} signed)
set(months Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
if(NOT signed MATCHES ", ([0-9]+) ([A-Z][a-z][a-z]) ([0-9]+) " OR NOT CMAKE_MATCH_2 IN_LIST months)
  message(FATAL_ERROR "${changelog}: no date in the newest entry's sign-off: ${signed}")
endif()
set(day ${CMAKE_MATCH_1})
set(year ${CMAKE_MATCH_3})
list(FIND months ${CMAKE_MATCH_2} month)
math(EXPR month "101 + ${month}")
math(EXPR day "100 + ${day}")
string(SUBSTRING ${month} 1 2 month)
string(SUBSTRING ${day} 1 2 day)
set(RELEASE_DATE ${year}-${month}-${day})
if(CMAKE_SCRIPT_MODE_FILE STREQUAL CMAKE_CURRENT_LIST_FILE)
  message("${upstream_version} ${RELEASE_DATE}")
endif()
