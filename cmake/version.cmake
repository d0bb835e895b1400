# The version every program reports, from project()'s VERSION. A build from a git checkout adds
# the commit it was built from (`git describe`), so a report from a development build names it;
# a build from a source tarball (no .git) reports the plain version.
set(VETRA_VERSION_TEXT ${PROJECT_VERSION})
find_package(Git QUIET)
if(GIT_FOUND AND EXISTS ${PROJECT_SOURCE_DIR}/.git)
    execute_process(COMMAND ${GIT_EXECUTABLE} describe --always --dirty
                    WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
                    OUTPUT_VARIABLE VETRA_GIT_DESCRIBE
                    OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
    if(VETRA_GIT_DESCRIBE)
        string(APPEND VETRA_VERSION_TEXT " (${VETRA_GIT_DESCRIBE})")
    endif()
endif()
configure_file(${CMAKE_CURRENT_LIST_DIR}/vetra_version.h.in
               ${PROJECT_BINARY_DIR}/generated/vetra_version.h @ONLY)
add_library(vetra_version INTERFACE)
target_include_directories(vetra_version INTERFACE ${PROJECT_BINARY_DIR}/generated)
