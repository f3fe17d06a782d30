# make run        installs the packages the game needs, builds the game
#                 alone and starts it
# make test       installs the test tools too, builds everything (warnings
#                 are errors; WERROR=OFF for not) and runs every test
# make install    installs the built game (PREFIX=/usr/local, DESTDIR=)
# make uninstall  removes what make install put down
# make deb        builds the Debian package into build/deb and checks it
#                 with lintian
# make bench      builds and runs the benchmarks, which print figures and
#                 never pass or fail on speed
# make web        installs emscripten and the browser's packages, builds the
#                 browser edition into build-web/site/ (a static site) and
#                 morvane-web-drive beside it
# make web-run    builds the site and serves it on http://localhost:8000/
#                 (WEB_PORT=)
# make fuzz       builds the fuzz targets with clang in build-fuzz/ and runs
#                 each for FUZZ_SECONDS (60 by default), or FUZZ_RUNS inputs

BUILD ?= build
JOBS ?= $(shell nproc)
PREFIX ?= /usr/local
# What the game needs at run time besides the program: its cues and help.
GAME_TARGETS = morvane morvane-solve morvane-drive

# The tests' build treats compiler warnings as errors.
WERROR ?= ON
WEB_BUILD ?= build-web
WEB_PORT ?= 8000
# Emscripten's optimiser runs on node and needs Debian's node modules also
# when the node on PATH comes from elsewhere.
WEB_ENV = NODE_PATH=/usr/share/nodejs

FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 60
FUZZ_RUNS ?=

.PHONY: all deps deps-game deps-web configure build game run test bench install uninstall deb fuzz clean web web-run

all: build

deps:
	@tools/install-deps

deps-game:
	@tools/install-deps game

deps-web:
	@tools/install-deps web

# A new build folder builds the game alone until the tests are asked for.
$(BUILD)/build.ninja:
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=OFF \
	  -DMORVANE_WEB_BUILD=$(abspath $(WEB_BUILD))

configure: deps $(BUILD)/build.ninja
	@grep -q '^BUILD_TESTING:BOOL=ON' $(BUILD)/CMakeCache.txt && \
	  grep -q '^MORVANE_WERROR:BOOL=$(WERROR)$$' $(BUILD)/CMakeCache.txt || \
	  cmake -S . -B $(BUILD) -DBUILD_TESTING=ON -DMORVANE_WERROR=$(WERROR)

build: configure
	cmake --build $(BUILD) -j $(JOBS)

game: deps-game $(BUILD)/build.ninja
	cmake --build $(BUILD) -j $(JOBS) --target $(GAME_TARGETS)

run: deps-game $(BUILD)/build.ninja
	cmake --build $(BUILD) -j $(JOBS) --target morvane
	$(BUILD)/bin/morvane

# The tests of the browser edition run against the site in $(WEB_BUILD).
test: deps-web build web
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

install: game
	cmake --install $(BUILD) --prefix $(PREFIX)

uninstall:
	cmake --build $(BUILD) --target uninstall

deb: deps
	tools/build-deb $(BUILD)/deb

bench: deps-web configure web
	cmake --build $(BUILD) --target bench -j $(JOBS)

fuzz:
	@tools/install-deps fuzz
	cmake -S . -B $(FUZZ_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DCMAKE_CXX_COMPILER=clang++ -DMORVANE_FUZZ=ON \
	  -DCMAKE_CXX_FLAGS="-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer"
	cmake --build $(FUZZ_BUILD) -j $(JOBS) --target morvane_fuzzers
	tools/run-fuzzers $(FUZZ_BUILD)/bin $(FUZZ_SECONDS) $(FUZZ_RUNS)

$(WEB_BUILD)/build.ninja:
	$(WEB_ENV) emcmake cmake -S . -B $(WEB_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release

web: deps-web
	$(MAKE) $(WEB_BUILD)/build.ninja
	$(WEB_ENV) cmake --build $(WEB_BUILD) -j $(JOBS)

web-run: web
	@echo "Open http://localhost:$(WEB_PORT)/ (Ctrl+C stops the server)"
	python3 -m http.server $(WEB_PORT) --bind 127.0.0.1 --directory $(WEB_BUILD)/site

clean:
	rm -rf $(BUILD) $(FUZZ_BUILD) $(WEB_BUILD)
