# Runs at install time. Writes the menu entry, whose Exec line starts the launcher with the
# program and the disclaimer where this install puts them (`cmake --install --prefix` may name
# another prefix than the configured one), and installs it; file(INSTALL) honours DESTDIR.
# Expects desktop_template, desktop_file and the GNUInstallDirs folders bin_dir, libexec_dir and
# data_dir.

function(installed_path dir name out)
  cmake_path(ABSOLUTE_PATH dir BASE_DIRECTORY "${CMAKE_INSTALL_PREFIX}" NORMALIZE OUTPUT_VARIABLE absolute)
  cmake_path(APPEND absolute "${name}")
  set(${out} "${absolute}" PARENT_SCOPE)
endfunction()

# One Exec argument as the desktop entry format reads it: a path with a reserved character goes
# in double quotes with " ` $ and \ escaped by a backslash, and then, as in every string value,
# each backslash is doubled; a percent sign is doubled so that it is no field code.
function(exec_argument path out)
  set(argument "${path}")
  if(argument MATCHES "[] \t\"'\\\\><~|&;$*?#()`[]")
    string(REGEX REPLACE "([\"`$\\\\])" "\\\\\\1" argument "${argument}")
    set(argument "\"${argument}\"")
  endif()
  string(REPLACE "\\" "\\\\" argument "${argument}")
  string(REPLACE "%" "%%" argument "${argument}")
  set(${out} "${argument}" PARENT_SCOPE)
endfunction()

installed_path("${libexec_dir}" larkspin/larkspin-start launcher)
installed_path("${bin_dir}" larkspin program)
installed_path("${data_dir}" larkspin/disclaimer.txt disclaimer)
set(LARKSPIN_START_COMMAND "")
foreach(path IN ITEMS "${launcher}" "${program}" "${disclaimer}")
  exec_argument("${path}" argument)
  string(APPEND LARKSPIN_START_COMMAND " ${argument}")
endforeach()
string(STRIP "${LARKSPIN_START_COMMAND}" LARKSPIN_START_COMMAND)
configure_file("${desktop_template}" "${desktop_file}" @ONLY)
installed_path("${data_dir}" applications destination)
file(INSTALL "${desktop_file}" DESTINATION "${destination}")
