# kolmar export: the workbook and CSV writer of the desktop program, without Qt.
target_sources(kolmar PRIVATE ${CMAKE_CURRENT_LIST_DIR}/cmd_export.cpp)
target_link_libraries(kolmar PRIVATE kolmar_xlsx)
