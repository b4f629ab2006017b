# The Windows folder of `make windows`: the engine library, the runner, the C headers for callers
# of IKOLMAR and kolmar_run, the examples and the documents, stripped of debug information, in
# build-windows/dist/kolmar-<version>-windows-x64/ and zipped beside it. The compiler's runtimes
# are linked in (cmake/mingw-w64-x86_64.cmake), so nothing else is needed on the machine.
set(KOLMAR_DIST_NAME kolmar-${PROJECT_VERSION}-windows-x64)
set(KOLMAR_DIST_DIR ${CMAKE_BINARY_DIR}/dist/${KOLMAR_DIST_NAME})
file(GLOB KOLMAR_DIST_EXAMPLES ${CMAKE_SOURCE_DIR}/examples/*.kx8d)
set(KOLMAR_DIST_DOCS ${CMAKE_SOURCE_DIR}/README.md ${CMAKE_SOURCE_DIR}/docs/windows.md
    ${CMAKE_SOURCE_DIR}/docs/users-guide.md ${CMAKE_SOURCE_DIR}/docs/technical-manual.md
    ${CMAKE_SOURCE_DIR}/docs/results.schema.json)
set(KOLMAR_DIST_HEADERS ${CMAKE_SOURCE_DIR}/engine/include/kolmar/ikolmar.h
    ${CMAKE_SOURCE_DIR}/engine/include/kolmar/results.h ${KOLMAR_GENERATED_INCLUDE}/kolmar/version.h)

add_custom_target(windows_dist
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${KOLMAR_DIST_DIR} ${KOLMAR_DIST_DIR}.zip
    COMMAND ${CMAKE_COMMAND} -E make_directory ${KOLMAR_DIST_DIR}/examples
            ${KOLMAR_DIST_DIR}/docs ${KOLMAR_DIST_DIR}/include/kolmar
    COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:Kolmar2017_DLL> $<TARGET_FILE:kolmar>
            ${KOLMAR_DIST_DIR}
    COMMAND ${CMAKE_STRIP} --strip-unneeded ${KOLMAR_DIST_DIR}/$<TARGET_FILE_NAME:Kolmar2017_DLL>
            ${KOLMAR_DIST_DIR}/$<TARGET_FILE_NAME:kolmar>
    COMMAND ${CMAKE_COMMAND} -E copy ${KOLMAR_DIST_EXAMPLES} ${KOLMAR_DIST_DIR}/examples
    COMMAND ${CMAKE_COMMAND} -E copy ${KOLMAR_DIST_DOCS} ${KOLMAR_DIST_DIR}/docs
    COMMAND ${CMAKE_COMMAND} -E copy ${KOLMAR_DIST_HEADERS} ${KOLMAR_DIST_DIR}/include/kolmar
    COMMAND ${CMAKE_COMMAND} -E chdir ${CMAKE_BINARY_DIR}/dist
            ${CMAKE_COMMAND} -E tar cf ${KOLMAR_DIST_NAME}.zip --format=zip ${KOLMAR_DIST_NAME}
    COMMAND ${CMAKE_COMMAND} -E echo "Windows folder: ${KOLMAR_DIST_DIR}.zip"
    DEPENDS Kolmar2017_DLL kolmar
    VERBATIM)
