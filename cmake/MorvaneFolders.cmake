# One library per folder of src/, and includes that can only run downwards.
#
# Sources name the headers of other folders as "folder/file.h". Nothing puts
# src/ itself on the include path: each folder's library publishes a view of
# the source tree that holds only its own folder, and that view reaches
# exactly the targets that link the library. So a file sees its own folder
# and the folders of the libraries its library links, and an include of a
# folder it does not depend on fails to compile.

# Publishes the current source folder as "<folder>/..." to `target` and to
# every target that links it.
function(morvane_folder_headers target)
  get_filename_component(folder ${CMAKE_CURRENT_SOURCE_DIR} NAME)
  set(view ${PROJECT_BINARY_DIR}/folder-views/${folder})
  file(MAKE_DIRECTORY ${view})
  file(CREATE_LINK ${CMAKE_CURRENT_SOURCE_DIR} ${view}/${folder} SYMBOLIC)
  get_target_property(type ${target} TYPE)
  if(type STREQUAL "INTERFACE_LIBRARY")
    target_include_directories(${target} INTERFACE ${view})
  else()
    target_include_directories(${target} PUBLIC ${view})
  endif()
endfunction()
