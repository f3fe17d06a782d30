# The browser edition, built by emscripten into a static site:
#
#   site/index.html, morvane.js (the page), morvane.css,
#   game.js + game.wasm (the game and the solver), hint.js (the hint's worker),
#   pictures/ at 1x, 2x and 3x, cues/ (the WAV cues), help/ (the help pages)
#
# and the game's and the solver's unit tests as node programs.

set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
list(APPEND CMAKE_MODULE_PATH ${PROJECT_SOURCE_DIR}/cmake)
include(MorvaneFolders)

# Small code first: the whole site should load in a blink on a phone.
string(REPLACE "-O2" "-Os" CMAKE_CXX_FLAGS_RELWITHDEBINFO "${CMAKE_CXX_FLAGS_RELWITHDEBINFO}")
string(REPLACE "-O3" "-Os" CMAKE_CXX_FLAGS_RELEASE "${CMAKE_CXX_FLAGS_RELEASE}")
string(REPLACE "-g" "" CMAKE_CXX_FLAGS_RELWITHDEBINFO "${CMAKE_CXX_FLAGS_RELWITHDEBINFO}")

# The game's folders as on the desktop, and the game and solver as one
# library each (no link group: wasm-ld has none).
foreach(folder core board play rules solve)
  add_subdirectory(src/${folder} ${CMAKE_BINARY_DIR}/src/${folder})
endforeach()
set(game_sources)
foreach(folder core board play rules)
  get_target_property(sources morvane_${folder} SOURCES)
  list(TRANSFORM sources PREPEND ${PROJECT_SOURCE_DIR}/src/${folder}/)
  list(APPEND game_sources ${sources})
endforeach()
add_library(morvane_game STATIC ${game_sources})
foreach(folder core board play rules)
  target_include_directories(morvane_game PUBLIC
    $<TARGET_PROPERTY:morvane_${folder},INTERFACE_INCLUDE_DIRECTORIES>)
endforeach()

add_subdirectory(src/web ${CMAKE_BINARY_DIR}/src/web)

option(BUILD_TESTING "Build the wasm unit tests" ON)
if(BUILD_TESTING)
  enable_testing()
  add_subdirectory(tests/web/wasm ${CMAKE_BINARY_DIR}/tests/wasm)
endif()
