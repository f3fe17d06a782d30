# The help window: a library of its own, linked into the window. It reads
# the help file with chmlib (Debian package libchm-dev).
find_path(CHMLIB_INCLUDE_DIR chm_lib.h REQUIRED)
find_library(CHMLIB_LIBRARY chm REQUIRED)

add_library(morvane_help STATIC
  app/help_chm.cpp
  app/help_contents.cpp
  app/help_window.cpp
)
target_include_directories(morvane_help PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
target_include_directories(morvane_help PRIVATE ${CHMLIB_INCLUDE_DIR})
target_link_libraries(morvane_help PUBLIC Qt6::Widgets PRIVATE ${CHMLIB_LIBRARY})
set_target_properties(morvane_help PROPERTIES AUTOMOC ON)
