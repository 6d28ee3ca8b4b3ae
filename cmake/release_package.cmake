# The release package, made by cpack from the win32 build (README.md has the command):
# velmora-VERSION-win32.zip holds the program, a README.txt for its users and the SHA256SUMS of
# both; velmora-VERSION-win32-debug.zip holds the program's debug file, which support keeps to
# turn a crash address into a source line.

# Notepad on a Chinese Windows shows a UTF-8 text right when it begins with a byte order mark
# (the template does) and breaks its lines with CR LF.
set(release_readme ${PROJECT_BINARY_DIR}/release/README.txt)
configure_file(${PROJECT_SOURCE_DIR}/app/release/README.txt.in ${release_readme} @ONLY
               NEWLINE_STYLE CRLF)

install(PROGRAMS $<TARGET_FILE:velmora> DESTINATION . COMPONENT program)
install(FILES ${release_readme} DESTINATION . COMPONENT program)
# The sums of the files as they are packed, in the form sha256sum -c reads.
install(CODE [[
  set(folder "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}")
  set(sums "")
  foreach(name velmora.exe README.txt)
    file(SHA256 "${folder}/${name}" sum)
    string(APPEND sums "${sum}  ${name}\n")
  endforeach()
  file(WRITE "${folder}/SHA256SUMS" "${sums}")
]] COMPONENT program)
install(FILES $<TARGET_FILE:velmora>.debug DESTINATION . COMPONENT debug)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME velmora)
set(CPACK_PACKAGE_DIRECTORY ${PROJECT_BINARY_DIR}/package)
set(CPACK_ARCHIVE_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL program debug)
# The files lie at the top of each zip; Windows unpacks a zip into a folder of its name.
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
set(CPACK_ARCHIVE_PROGRAM_FILE_NAME velmora-${PROJECT_VERSION}-win32)
set(CPACK_ARCHIVE_DEBUG_FILE_NAME velmora-${PROJECT_VERSION}-win32-debug)
include(CPack)
