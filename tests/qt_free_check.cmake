# Fails when a source of the Qt-free libraries (procedures, registry, settings table, command-line
# tool) includes a Qt header: the core must build and run without Qt.
file(GLOB_RECURSE sources
  "${ROOT}/core/*.h" "${ROOT}/core/*.cpp"
  "${ROOT}/text/*.h" "${ROOT}/text/*.cpp"
  "${ROOT}/markup/*.h" "${ROOT}/markup/*.cpp"
  "${ROOT}/automatic/*.h" "${ROOT}/automatic/*.cpp"
  "${ROOT}/settings/settings_table.*"
  "${ROOT}/cli/*.h" "${ROOT}/cli/*.cpp")
set(offenders "")
foreach(source IN LISTS sources)
  if(source MATCHES "_window\\.(h|cpp)$")
    continue()  # the windows of each subsystem are Qt code by design
  endif()
  file(STRINGS "${source}" lines REGEX "^[ \t]*#[ \t]*include[ \t]*<Q")
  if(lines)
    list(APPEND offenders "${source}: ${lines}")
  endif()
endforeach()
if(offenders)
  message(FATAL_ERROR "Qt headers in Qt-free code:\n${offenders}")
endif()
list(LENGTH sources count)
message(STATUS "checked ${count} files: no Qt header in Qt-free code")
