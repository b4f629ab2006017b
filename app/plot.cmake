# kolmar plot: paints a result graph into a picture with the desktop program's painting code.
target_sources(kolmar PRIVATE ${CMAKE_CURRENT_LIST_DIR}/cmd_plot.cpp)
target_link_libraries(kolmar PRIVATE kolmar_plot)
target_compile_definitions(kolmar PRIVATE KOLMAR_PLOT_PAINTING)
