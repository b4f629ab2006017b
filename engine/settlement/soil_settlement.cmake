# Sources of the load-settlement analysis in soils, added to the engine core.
target_sources(kolmar_engine_core PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/normalized.cpp
    ${CMAKE_CURRENT_LIST_DIR}/tz_curves.cpp
    ${CMAKE_CURRENT_LIST_DIR}/tz_solver.cpp
    ${CMAKE_CURRENT_LIST_DIR}/soil_settlement.cpp
)
