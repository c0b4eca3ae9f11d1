# What `cmake --install` puts in place, and the packages cpack makes of it:
#   Linux:   bin/scenario-compiler, its manual page, its bash completion and
#            share/doc/scenario-compiler (README.md, docs/, editors/); cpack -G DEB.
#   Windows: scenario-compiler.exe at the top, beside README.md, docs/ and
#            editors/; cpack -G ZIP from the cross-build.
# The version is the one of project(); the manual page is given it here.
configure_file(${PROJECT_SOURCE_DIR}/docs/scenario-compiler.1.in
               ${PROJECT_BINARY_DIR}/scenario-compiler.1 @ONLY)
configure_file(${PROJECT_SOURCE_DIR}/docs/scenario-compiler.it.1.in
               ${PROJECT_BINARY_DIR}/it/scenario-compiler.1 @ONLY)
file(GLOB doc_files CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/docs/*.md
     ${PROJECT_SOURCE_DIR}/docs/*.png)

if(WIN32)
  set(doc_dir .)
  install(TARGETS scenario-compiler RUNTIME DESTINATION .)
else()
  include(GNUInstallDirs)
  set(doc_dir ${CMAKE_INSTALL_DATADIR}/doc/scenario-compiler)
  install(TARGETS scenario-compiler RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES ${PROJECT_BINARY_DIR}/scenario-compiler.1
          DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  # The Italian page, where `man` looks for it under an Italian locale.
  install(FILES ${PROJECT_BINARY_DIR}/it/scenario-compiler.1
          DESTINATION ${CMAKE_INSTALL_MANDIR}/it/man1)
  install(FILES ${PROJECT_SOURCE_DIR}/completions/scenario-compiler.bash
          DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions
          RENAME scenario-compiler)
endif()
# README.md beside docs/, so that its links to docs/... hold where it is installed.
install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION ${doc_dir})
install(FILES ${doc_files} DESTINATION ${doc_dir}/docs)
# The editor support, for authors: the Notepad++ language to import, the VS Code
# extension's sources.
install(DIRECTORY ${PROJECT_SOURCE_DIR}/editors/vscode ${PROJECT_SOURCE_DIR}/editors/notepad++
        DESTINATION ${doc_dir}/editors
        PATTERN "*.vsix" EXCLUDE PATTERN "node_modules" EXCLUDE)

set(CPACK_PACKAGE_NAME scenario-compiler)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "scenario-compiler maintainers <scenario-compiler@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "Compiles train-driving scenario sources into the simulator's binary files")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "scenario-compiler reads the two editable text sources of a scenario for a "
    "train-driving simulator (the line source and the train source) and writes the three "
    "binary files the simulator loads. It checks the sources, explains its findings, draws "
    "the line as an HTML page and decodes the binary files.")
set(CPACK_STRIP_FILES ON)
if(WIN32)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_PACKAGE_FILE_NAME scenario-compiler-${PROJECT_VERSION}-windows-x86_64)
else()
  set(CPACK_GENERATOR DEB)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SECTION utils)
  # The libraries the executable links, found by dpkg-shlibdeps (dpkg-dev).
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  set(CPACK_DEBIAN_PACKAGE_SUGGESTS bash-completion)
endif()
include(CPack)

if(BUILD_TESTS AND NOT WIN32)
  add_test(NAME Packaging.InstallIntoAPrefix
           COMMAND Python3::Interpreter ${PROJECT_SOURCE_DIR}/tests/install_test.py
                   ${PROJECT_BINARY_DIR} ${PROJECT_SOURCE_DIR})
  add_test(NAME Packaging.DebianPackage
           COMMAND Python3::Interpreter ${PROJECT_SOURCE_DIR}/tests/deb_package_test.py
                   ${PROJECT_BINARY_DIR} ${PROJECT_VERSION})
  add_test(NAME Packaging.ManualPageAndCompletionKnowEveryOption
           COMMAND Python3::Interpreter ${PROJECT_SOURCE_DIR}/tests/command_line_docs_test.py
                   $<TARGET_FILE:scenario-compiler> ${PROJECT_SOURCE_DIR}/docs/scenario-compiler.1.in
                   ${PROJECT_SOURCE_DIR}/completions/scenario-compiler.bash)
  add_test(NAME Packaging.ItalianManualPageKnowsEveryOption
           COMMAND Python3::Interpreter ${PROJECT_SOURCE_DIR}/tests/command_line_docs_test.py
                   $<TARGET_FILE:scenario-compiler>
                   ${PROJECT_SOURCE_DIR}/docs/scenario-compiler.it.1.in
                   ${PROJECT_SOURCE_DIR}/completions/scenario-compiler.bash)
endif()
