# Where `cmake --install` (and the packages made from it) put the tool.
#
# Linux: sympack and sympack-cmd in the binary folder; our FST4SIM.EXE in
# the library-executables folder, where the tool finds it (from its own
# folder) whenever the current folder has none of its own; manual pages;
# README, licence and notice in the documentation folder.
# Windows: one flat folder, the way the zip is unpacked and used.

if(WIN32)
  set(SYMPACK_BIN_DIR .)
  set(SYMPACK_SIMULATOR_DIR .)
  set(SYMPACK_DOC_DIR .)
  install(TARGETS sympack fst4sim_tool RUNTIME DESTINATION ${SYMPACK_BIN_DIR})
  foreach(text README LICENSE NOTICE)
    set(source ${PROJECT_SOURCE_DIR}/${text})
    if(text STREQUAL README)
      set(source ${PROJECT_SOURCE_DIR}/packaging/README.txt.in)
    endif()
    # Windows text files: CR LF line ends, a .txt name that opens anywhere.
    configure_file(${source} ${PROJECT_BINARY_DIR}/packaging/${text}.txt NEWLINE_STYLE WIN32 @ONLY)
    install(FILES ${PROJECT_BINARY_DIR}/packaging/${text}.txt DESTINATION ${SYMPACK_DOC_DIR})
  endforeach()
  return()
endif()

set(SYMPACK_SIMULATOR_DIR ${CMAKE_INSTALL_LIBEXECDIR}/sympack)
install(TARGETS sympack sympack-cmd RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(TARGETS fst4sim_tool RUNTIME DESTINATION ${SYMPACK_SIMULATOR_DIR})

# Manual pages and the changelog go in gzip-compressed, without a timestamp,
# as Debian packages carry them.
find_program(SYMPACK_GZIP gzip REQUIRED)
function(sympack_gzip source output)
  add_custom_command(OUTPUT ${output}
    COMMAND ${SYMPACK_GZIP} -9nc ${source} > ${output}
    DEPENDS ${source} VERBATIM)
endfunction()

set(man_dir ${PROJECT_BINARY_DIR}/man)
file(MAKE_DIRECTORY ${man_dir})
set(pages "")
foreach(page sympack.1 sympack-cmd.1 FST4SIM.1)
  sympack_gzip(${PROJECT_SOURCE_DIR}/docs/man/${page} ${man_dir}/${page}.gz)
  list(APPEND pages ${man_dir}/${page}.gz)
endforeach()
# The changelog's date is the last commit's, so that the same sources make
# the same package (string(TIMESTAMP) takes SOURCE_DATE_EPOCH when set).
if(NOT DEFINED ENV{SOURCE_DATE_EPOCH})
  execute_process(COMMAND git log -1 --format=%ct WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
                  OUTPUT_VARIABLE sympack_commit_time OUTPUT_STRIP_TRAILING_WHITESPACE
                  RESULT_VARIABLE sympack_git_status ERROR_QUIET)
  if(sympack_git_status EQUAL 0 AND sympack_commit_time)
    set(ENV{SOURCE_DATE_EPOCH} ${sympack_commit_time})
  endif()
endif()
string(TIMESTAMP SYMPACK_CHANGELOG_DATE "%a, %d %b %Y %H:%M:%S +0000" UTC)
configure_file(${PROJECT_SOURCE_DIR}/packaging/changelog.in ${PROJECT_BINARY_DIR}/packaging/changelog @ONLY)
sympack_gzip(${PROJECT_BINARY_DIR}/packaging/changelog ${PROJECT_BINARY_DIR}/packaging/changelog.gz)
add_custom_target(sympack_documents ALL DEPENDS ${pages} ${PROJECT_BINARY_DIR}/packaging/changelog.gz)

install(FILES ${pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES README.md NOTICE ${PROJECT_BINARY_DIR}/packaging/changelog.gz DESTINATION ${CMAKE_INSTALL_DOCDIR})
# Debian's name for the licence file.
install(FILES LICENSE DESTINATION ${CMAKE_INSTALL_DOCDIR} RENAME copyright)
# What lintian reports on the package and why it stays (docs/packages.md).
install(FILES packaging/lintian-overrides DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides RENAME sympack)
