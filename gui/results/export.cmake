# Spreadsheet export: the workbook writer (Qt-free, also used by `kolmar export`) and the
# export dialog of the desktop program.
find_package(PkgConfig REQUIRED)
pkg_check_modules(XLSXWRITER REQUIRED IMPORTED_TARGET xlsxwriter)
find_package(ZLIB REQUIRED)

add_library(kolmar_xlsx STATIC
    ${CMAKE_CURRENT_LIST_DIR}/ExcelExport.cpp ${CMAKE_CURRENT_LIST_DIR}/ExcelExport.h
    ${CMAKE_CURRENT_LIST_DIR}/ZipPackage.cpp ${CMAKE_CURRENT_LIST_DIR}/ZipPackage.h)
kolmar_warnings(kolmar_xlsx)
target_link_libraries(kolmar_xlsx PUBLIC kolmar_model PRIVATE PkgConfig::XLSXWRITER ZLIB::ZLIB)

add_library(kolmar_export STATIC
    ${CMAKE_CURRENT_LIST_DIR}/ExportDlg.cpp ${CMAKE_CURRENT_LIST_DIR}/ExportDlg.h)
set_target_properties(kolmar_export PROPERTIES AUTOMOC ON)
kolmar_warnings(kolmar_export)
target_link_libraries(kolmar_export PUBLIC kolmar_xlsx kolmar_model Qt6::Widgets)
# The Help menu opens the manuals beside the program, or, from a build tree, in the sources.
target_compile_definitions(kolmar_export PUBLIC KOLMAR_DOCS_DIR="${CMAKE_SOURCE_DIR}/docs")

# The manuals are installed beside the program.
install(FILES ${CMAKE_SOURCE_DIR}/docs/users-guide.md ${CMAKE_SOURCE_DIR}/docs/technical-manual.md
    DESTINATION bin)
