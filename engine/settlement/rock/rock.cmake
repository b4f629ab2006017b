# Sources of the rock and intermediate-geomaterial procedures, added to the engine core.
target_sources(kolmar_engine_core PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/rock_common.cpp
    ${CMAKE_CURRENT_LIST_DIR}/rock_charts.cpp
    ${CMAKE_CURRENT_LIST_DIR}/strong_rock.cpp
    ${CMAKE_CURRENT_LIST_DIR}/decomposed_rock.cpp
    ${CMAKE_CURRENT_LIST_DIR}/weak_rock.cpp
)
