# The help window: a library of its own, linked into the window.
add_library(morvane_help STATIC app/help_window.cpp)
target_include_directories(morvane_help PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(morvane_help PUBLIC Qt6::Widgets)
set_target_properties(morvane_help PROPERTIES AUTOMOC ON)
