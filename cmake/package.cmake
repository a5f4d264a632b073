# The release package for Windows. EXEXML/ holds what goes into PRTG's
# Custom Sensors\EXEXML folder: the sensor, wickerby.exe for 32-bit RFC
# libraries and wickerby64.exe for 64-bit ones, named apart so that PRTG's
# list of executables tells them apart. The 32-bit build's package takes the
# 64-bit build's programs from WICKERBY_WIN64_BIN (scripts/package.sh). tools/ holds the
# administrator's tool, which must lie outside the folders whose programs
# PRTG runs for its users, with the message reference its errors point to.
# At the top lie the README, the administrator's guide, the message
# reference, the change log and the licence, and the examples; nothing meant
# for the developers. The RFC simulator (both libraries' faces) travels only
# inside examples/simulator/ (32-bit) and examples/simulator64/ (64-bit), marked
# there as a test stand-in: on a probe the vendor's library lies beside the
# sensor.
# The package holds what an administrator reads, with the CR LF line ends
# Notepad and the probe's tools expect; the text files are converted once,
# when the build is configured.
function(wickerby_windows_text source destination)
  file(READ "${CMAKE_SOURCE_DIR}/${source}" text)
  string(REPLACE "\r\n" "\n" text "${text}")
  string(REPLACE "\n" "\r\n" text "${text}")
  file(WRITE "${CMAKE_BINARY_DIR}/package-text/${destination}" "${text}")
endfunction()
wickerby_windows_text(README.md README.md)
wickerby_windows_text(docs/ADMINISTRATION.md ADMINISTRATION.md)
wickerby_windows_text(docs/ERRORS.md ERRORS.md)
wickerby_windows_text(simulator/README.md SIMULATOR.md)
wickerby_windows_text(cmake/simulator-package-readme.txt README.txt)
wickerby_windows_text(CHANGELOG.md CHANGELOG.md)
wickerby_windows_text(LICENSE LICENSE.txt)
file(GLOB example_files RELATIVE "${CMAKE_SOURCE_DIR}" "${CMAKE_SOURCE_DIR}/examples/*")
foreach(example ${example_files})
  wickerby_windows_text("${example}" "${example}")
endforeach()
set(package_text "${CMAKE_BINARY_DIR}/package-text")

set(WICKERBY_WIN64_BIN "" CACHE PATH "The 64-bit Windows build's bin folder, whose programs the package carries too")
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(width_suffix 64)
else()
  set(width_suffix "")
endif()
install(PROGRAMS $<TARGET_FILE:wickerby> DESTINATION EXEXML RENAME wickerby${width_suffix}.exe)
install(PROGRAMS $<TARGET_FILE:wickerby-profile> DESTINATION tools RENAME wickerby-profile${width_suffix}.exe)
if(WICKERBY_WIN64_BIN AND NOT width_suffix)
  install(PROGRAMS ${WICKERBY_WIN64_BIN}/wickerby.exe DESTINATION EXEXML RENAME wickerby64.exe)
  install(PROGRAMS ${WICKERBY_WIN64_BIN}/wickerby-profile.exe DESTINATION tools RENAME wickerby-profile64.exe)
endif()
install(FILES ${package_text}/ERRORS.md DESTINATION tools)
install(FILES ${package_text}/README.md ${package_text}/ADMINISTRATION.md ${package_text}/ERRORS.md DESTINATION .)
install(DIRECTORY ${package_text}/examples/ DESTINATION examples)
# The simulator of each width the package's sensors have: examples/simulator
# for wickerby.exe, examples/simulator64 for wickerby64.exe.
# Each holds the classic library's stand-in and, in nwrfc/, the NetWeaver
# library's with the companion it loads from its own folder.
set(simulator_folders examples/simulator${width_suffix})
install(PROGRAMS $<TARGET_FILE:rfc32> DESTINATION examples/simulator${width_suffix})
install(PROGRAMS $<TARGET_FILE:sapnwrfc> $<TARGET_FILE:sapnwrfc_companion>
        DESTINATION examples/simulator${width_suffix}/nwrfc)
if(WICKERBY_WIN64_BIN AND NOT width_suffix)
  install(PROGRAMS ${WICKERBY_WIN64_BIN}/librfc32.dll DESTINATION examples/simulator64)
  install(PROGRAMS ${WICKERBY_WIN64_BIN}/sapnwrfc.dll ${WICKERBY_WIN64_BIN}/libsapnwrfc_companion.dll
          DESTINATION examples/simulator64/nwrfc)
  list(APPEND simulator_folders examples/simulator64)
endif()
foreach(folder ${simulator_folders})
  install(FILES ${package_text}/SIMULATOR.md ${package_text}/README.txt DESTINATION ${folder})
endforeach()
# What changed per release and the licence, at the top.
install(FILES ${package_text}/CHANGELOG.md ${package_text}/LICENSE.txt DESTINATION .)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME wickerby)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
if(width_suffix)
  set(CPACK_SYSTEM_NAME win64)
elseif(WICKERBY_WIN64_BIN)
  set(CPACK_SYSTEM_NAME windows)
else()
  set(CPACK_SYSTEM_NAME win32)
endif()
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
include(CPack)
