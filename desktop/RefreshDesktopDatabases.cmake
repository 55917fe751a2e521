# After installing into a live prefix, let the desktop learn the new file types and the launcher.
# Staged installs (DESTDIR) leave this to the package manager.
if(NOT "$ENV{DESTDIR}" STREQUAL "")
  return()
endif()
set(_share "${CMAKE_INSTALL_PREFIX}/share")
find_program(_update_mime update-mime-database)
if(_update_mime)
  execute_process(COMMAND ${_update_mime} "${_share}/mime" RESULT_VARIABLE _r OUTPUT_QUIET ERROR_QUIET)
endif()
find_program(_update_desktop update-desktop-database)
if(_update_desktop)
  execute_process(COMMAND ${_update_desktop} "${_share}/applications" RESULT_VARIABLE _r OUTPUT_QUIET
                  ERROR_QUIET)
endif()
