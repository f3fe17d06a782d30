# make run   builds and starts the game
# make test  builds and runs every test
# make fuzz  builds the fuzz targets with clang in build-fuzz/ and runs each
#            for FUZZ_SECONDS (60 by default), or FUZZ_RUNS inputs
# All install whatever Debian packages are missing first.

BUILD ?= build
JOBS ?= $(shell nproc)

FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 60
FUZZ_RUNS ?=

.PHONY: all deps configure build run test fuzz clean

all: build

deps:
	@tools/install-deps

$(BUILD)/build.ninja:
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo

configure: deps $(BUILD)/build.ninja

build: configure
	cmake --build $(BUILD) -j $(JOBS)

run: build
	$(BUILD)/bin/morvane

test: build
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

fuzz:
	@tools/install-deps --fuzz
	cmake -S . -B $(FUZZ_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DCMAKE_CXX_COMPILER=clang++ -DMORVANE_FUZZ=ON \
	  -DCMAKE_CXX_FLAGS="-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer"
	cmake --build $(FUZZ_BUILD) -j $(JOBS) --target morvane_fuzzers
	tools/run-fuzzers $(FUZZ_BUILD)/bin $(FUZZ_SECONDS) $(FUZZ_RUNS)

clean:
	rm -rf $(BUILD) $(FUZZ_BUILD)
