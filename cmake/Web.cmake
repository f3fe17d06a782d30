# The browser edition, built by emscripten into a static site:
#
#   site/index.html, morvane.js (the page), morvane.css,
#   game.js + game.wasm (the game and the solver), hint.js (the hint's worker),
#   pictures/ at 1x, 2x and 3x, cues/ (the WAV cues), help/ (the help pages)
#
# and the game's and the solver's unit tests as node programs.

set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)

# Small code first: the whole site should load in a blink on a phone.
string(REPLACE "-O2" "-Os" CMAKE_CXX_FLAGS_RELWITHDEBINFO "${CMAKE_CXX_FLAGS_RELWITHDEBINFO}")
string(REPLACE "-O3" "-Os" CMAKE_CXX_FLAGS_RELEASE "${CMAKE_CXX_FLAGS_RELEASE}")
string(REPLACE "-g" "" CMAKE_CXX_FLAGS_RELWITHDEBINFO "${CMAKE_CXX_FLAGS_RELWITHDEBINFO}")

# The game and the solver, exactly as the desktop builds them.
add_subdirectory(src/game ${CMAKE_BINARY_DIR}/src/game)
add_subdirectory(src/solve ${CMAKE_BINARY_DIR}/src/solve)
add_subdirectory(src/web ${CMAKE_BINARY_DIR}/src/web)

option(BUILD_TESTING "Build the wasm unit tests" ON)
if(BUILD_TESTING)
  enable_testing()
  add_subdirectory(tests/web/wasm ${CMAKE_BINARY_DIR}/tests/wasm)
endif()
