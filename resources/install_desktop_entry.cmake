# Writes the desktop entry at install time, when the final prefix is known (cmake --install --prefix).
# Expects TEMPLATE; the Exec key names the installed program by its absolute path, so the menu finds it
# whether or not <prefix>/bin is on the PATH.
set(program "${CMAKE_INSTALL_PREFIX}/bin/quenda")
# Quoting of the Exec key: inside double quotes, " ` $ and \ take a backslash; a lone % would start a
# field code. The key's value is then a string value, whose own escaping doubles each backslash.
set(arg "${program}")
string(REPLACE "\\" "\\\\" arg "${arg}")
string(REPLACE "\"" "\\\"" arg "${arg}")
string(REPLACE "`" "\\`" arg "${arg}")
string(REPLACE "$" "\\$" arg "${arg}")
string(REPLACE "%" "%%" arg "${arg}")
if(NOT program MATCHES "^[A-Za-z0-9_./+,:@=-]*$")
  set(arg "\"${arg}\"")
endif()
string(REPLACE "\\" "\\\\" QUENDA_EXEC "${arg}")
string(REPLACE "\n" "\\n" QUENDA_EXEC "${QUENDA_EXEC}")
string(REPLACE "\t" "\\t" QUENDA_EXEC "${QUENDA_EXEC}")
set(entry "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/share/applications/de.morvane.quenda.desktop")
message(STATUS "Installing: ${entry}")
configure_file("${TEMPLATE}" "${entry}" @ONLY)
list(APPEND CMAKE_INSTALL_MANIFEST_FILES "${CMAKE_INSTALL_PREFIX}/share/applications/de.morvane.quenda.desktop")
