# The ZIP for Windows: one folder that runs wherever it is unpacked, with the program and its
# window's DLL, its KST.tbl and the demo image beside it, the Qt and MinGW runtime DLLs and the plugins the
# program loads, and the licences of everything in it.
install(TARGETS ${KST_PROGRAM} RUNTIME DESTINATION .)
install(TARGETS kestrune-window LIBRARY DESTINATION .)
install(FILES ${PROJECT_BINARY_DIR}/${KST_DATA_FILE} ${PROJECT_SOURCE_DIR}/README.md DESTINATION .)
install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION . RENAME LICENSE.txt)
# Our synthetic image, for a first look without the game.
install(FILES ${PROJECT_BINARY_DIR}/demo/kestrune-demo.pce DESTINATION .)

install(FILES $<TARGET_FILE:Qt6::Core> $<TARGET_FILE:Qt6::Gui> $<TARGET_FILE:Qt6::Widgets>
        DESTINATION .)
# The window's platform and the native look; the icon's PNG and the pictures' BMP are read by
# Qt Gui itself.
install(FILES $<TARGET_FILE:Qt6::QWindowsIntegrationPlugin> DESTINATION platforms)
install(FILES $<TARGET_FILE:Qt6::QWindowsVistaStylePlugin> DESTINATION styles)

install(FILES ${KST_RUNTIME_DLLS} DESTINATION .)

# The Debian source package a binary package was built from, as NAME and VERSION, and the
# version as it appears in a web address.
function(kst_debian_source package prefix)
  execute_process(COMMAND dpkg-query -W -f=\${source:Package}\ \${source:Version} ${package}
                  OUTPUT_VARIABLE source RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "The Debian package ${package} is not installed")
  endif()
  string(REPLACE " " ";" source ${source})
  list(GET source 0 name)
  list(GET source 1 version)
  string(REPLACE "+" "%2B" address_version ${version})
  set(${prefix}_NAME ${name} PARENT_SCOPE)
  set(${prefix}_VERSION ${version} PARENT_SCOPE)
  set(${prefix}_ADDRESS_VERSION ${address_version} PARENT_SCOPE)
endfunction()

# Qt and the runtime are LGPL and GPL with the runtime exception: their licence texts, the
# copyright notes of the Debian packages they were built from, and where their source is.
kst_debian_source(gcc-mingw-w64-x86-64-posix-runtime KST_GCC)
kst_debian_source(mingw-w64-x86-64-dev KST_MINGW)
configure_file(windows-sources.txt.in licences/SOURCES.txt @ONLY)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/licences/SOURCES.txt DESTINATION licences)
install(FILES /usr/share/doc/libqt6core6/copyright DESTINATION licences
        RENAME qt6-base-copyright.txt)
install(FILES /usr/share/doc/gcc-mingw-w64-base/copyright DESTINATION licences
        RENAME gcc-mingw-w64-copyright.txt)
install(FILES /usr/share/doc/mingw-w64-common/copyright DESTINATION licences
        RENAME mingw-w64-copyright.txt)
foreach(licence GPL-2 GPL-3 LGPL-3)
  install(FILES /usr/share/common-licenses/${licence} DESTINATION licences
          RENAME ${licence}.txt)
endforeach()

# The package's install strips the program; the DLLs come with their debugging sections, more
# than half of their size, which it strips too.
install(CODE "if(CMAKE_INSTALL_DO_STRIP)
  file(GLOB_RECURSE dlls \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/*.dll\")
  foreach(dll \${dlls})
    execute_process(COMMAND ${CMAKE_STRIP} --strip-unneeded \${dll})
  endforeach()
endif()")

set(CPACK_PACKAGE_NAME ${KST_PROGRAM})
set(CPACK_PACKAGE_VENDOR "The Kestrune Toolbox developers")
set(CPACK_PACKAGE_VERSION ${KST_VERSION})
set(CPACK_PACKAGE_FILE_NAME ${KST_PROGRAM}-${KST_VERSION}-win64)
set(CPACK_GENERATOR ZIP)
set(CPACK_STRIP_FILES ON)
include(CPack)
