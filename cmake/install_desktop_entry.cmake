# Installs the desktop entry for the prefix being installed to. Runs at install
# time, so `cmake --install build --prefix P` sees P. The entry names the
# program bare when <prefix>/bin is on every user's PATH; otherwise by its full
# path, quoted as the desktop-entry rules ask, so a menu or a double-clicked
# .kpf still finds it.
# In: KOLT_DESKTOP_SOURCE (the entry with Exec=kolt %f and TryExec=kolt).

set(bin "${CMAKE_INSTALL_PREFIX}/bin")
file(READ "${KOLT_DESKTOP_SOURCE}" entry)
if(NOT bin STREQUAL "/usr/bin" AND NOT bin STREQUAL "/usr/local/bin")
  set(program "${bin}/kolt")
  # TryExec is a plain string: only the backslash is escaped.
  string(REPLACE "\\" "\\\\" try_exec "${program}")
  # Exec: an argument with a reserved character goes in double quotes, inside
  # which " ` $ and \ take a backslash; % is doubled; then the string escape.
  set(exec "${program}")
  string(REPLACE "%" "%%" exec "${exec}")
  set(reserved " ;\t;\";';\\;>;<;~;|;&;$;*;?;#;(;);`")
  set(needs_quotes FALSE)
  foreach(c IN LISTS reserved)
    string(FIND "${exec}" "${c}" at)
    if(NOT at EQUAL -1)
      set(needs_quotes TRUE)
    endif()
  endforeach()
  string(FIND "${exec}" ";" at)
  if(NOT at EQUAL -1)
    set(needs_quotes TRUE)
  endif()
  if(needs_quotes)
    string(REPLACE "\\" "\\\\" exec "${exec}")
    string(REPLACE "\"" "\\\"" exec "${exec}")
    string(REPLACE "`" "\\`" exec "${exec}")
    string(REPLACE "$" "\\$" exec "${exec}")
    set(exec "\"${exec}\"")
  endif()
  string(REPLACE "\\" "\\\\" exec "${exec}")
  string(REPLACE "\nTryExec=kolt\n" "\nTryExec=${try_exec}\n" entry "${entry}")
  string(REPLACE "\nExec=kolt " "\nExec=${exec} " entry "${entry}")
endif()
set(target "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/share/applications/kolt.desktop")
message(STATUS "Installing: ${target}")
file(WRITE "${target}" "${entry}")
