# The plot window and the painting of result graphs. One painting routine serves the window,
# the printer, picture files and `kolmar plot`; the arithmetic under it (ranges, ticks,
# markers, unit names, zoom limits, layout) is plain C++ in the model library.
target_sources(kolmar_model PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/../data/PlotScale.cpp
    ${CMAKE_CURRENT_LIST_DIR}/../data/PlotScale.h)

add_library(kolmar_plot STATIC
    ${CMAKE_CURRENT_LIST_DIR}/PlotPainter.cpp ${CMAKE_CURRENT_LIST_DIR}/PlotPainter.h
    ${CMAKE_CURRENT_LIST_DIR}/PlotForm.cpp ${CMAKE_CURRENT_LIST_DIR}/PlotForm.h
    ${CMAKE_CURRENT_LIST_DIR}/PlotDialogs.cpp ${CMAKE_CURRENT_LIST_DIR}/PlotDialogs.h)
set_target_properties(kolmar_plot PROPERTIES AUTOMOC ON)
kolmar_warnings(kolmar_plot)
target_link_libraries(kolmar_plot PUBLIC
    kolmar_model kolmar_dialogs Qt6::Widgets Qt6::PrintSupport Qt6::Svg)
