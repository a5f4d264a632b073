# The release package for 32-bit Windows. EXEXML/ holds what goes into
# PRTG's Custom Sensors\EXEXML folder: the sensor. tools/ holds the
# administrator's tool, which must lie outside the folders whose programs
# PRTG runs for its users, with the message reference its errors point to.
# At the top lie the README, the administrator's guide and the message
# reference, and the examples. The RFC simulator travels only inside
# examples/simulator/, marked there as a test stand-in: on a probe the
# vendor's librfc32.dll lies beside wickerby.exe.
install(TARGETS wickerby RUNTIME DESTINATION EXEXML)
install(TARGETS wickerby-profile RUNTIME DESTINATION tools)
install(FILES docs/ERRORS.md DESTINATION tools)
install(FILES README.md ARCHITECTURE.md DESTINATION .)
install(FILES docs/ADMINISTRATION.md docs/ERRORS.md DESTINATION .)
install(DIRECTORY examples/ DESTINATION examples)
install(TARGETS rfc32 RUNTIME DESTINATION examples/simulator LIBRARY DESTINATION examples/simulator)
install(FILES simulator/README.md DESTINATION examples/simulator RENAME SIMULATOR.md)
install(FILES cmake/simulator-package-readme.txt DESTINATION examples/simulator RENAME README.txt)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME wickerby)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_SYSTEM_NAME win32)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
include(CPack)
