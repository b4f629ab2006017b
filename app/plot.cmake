target_sources(kolmar PRIVATE ${CMAKE_CURRENT_LIST_DIR}/cmd_plot.cpp)
