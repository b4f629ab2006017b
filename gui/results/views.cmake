# Shaft elevation view and 3D view (kolmar_views). Their geometry (shaft segments, extents,
# world window, read-out, view state, size-factor stepping) is plain C++ in the model library.
target_sources(kolmar_model PRIVATE
    ${CMAKE_SOURCE_DIR}/gui/data/ShaftGeometry.cpp ${CMAKE_SOURCE_DIR}/gui/data/ShaftGeometry.h)

find_package(OpenGL REQUIRED)

add_library(kolmar_views STATIC
    ${CMAKE_CURRENT_LIST_DIR}/PileProject.h
    ${CMAKE_CURRENT_LIST_DIR}/PileSide.cpp ${CMAKE_CURRENT_LIST_DIR}/PileSide.h
    ${CMAKE_CURRENT_LIST_DIR}/View3dScene.cpp ${CMAKE_CURRENT_LIST_DIR}/View3dScene.h
    ${CMAKE_CURRENT_LIST_DIR}/glWindow.cpp ${CMAKE_CURRENT_LIST_DIR}/glWindow.h
    ${CMAKE_CURRENT_LIST_DIR}/View3dUnit1.cpp ${CMAKE_CURRENT_LIST_DIR}/View3dUnit1.h
    ${CMAKE_CURRENT_LIST_DIR}/PileDiagrams.cpp ${CMAKE_CURRENT_LIST_DIR}/PileDiagrams.h
    ${CMAKE_CURRENT_LIST_DIR}/View3dMenu.cpp ${CMAKE_CURRENT_LIST_DIR}/View3dMenu.h)
set_target_properties(kolmar_views PROPERTIES AUTOMOC ON)
kolmar_warnings(kolmar_views)
target_link_libraries(kolmar_views PUBLIC
    kolmar_model Qt6::Widgets Qt6::OpenGLWidgets Qt6::PrintSupport OpenGL::GL OpenGL::GLU)
