# The release package for 32-bit Windows: the sensor, the administrator's
# tool, the README, the administrator's guide and the message reference (at
# the top, beside the README), and the examples. The RFC simulator travels
# only inside examples/simulator/, marked there as a test stand-in: on a
# probe the vendor's librfc32.dll lies beside wickerby.exe.
install(TARGETS wickerby wickerby-profile RUNTIME DESTINATION .)
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
