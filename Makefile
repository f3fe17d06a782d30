# make run   builds and starts the game
# make test  builds and runs every test
# make bench builds and runs the benchmarks (figures, no pass or fail)
# All install whatever Debian packages are missing first.

BUILD ?= build
JOBS ?= $(shell nproc)

.PHONY: all deps configure build run test bench clean

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

bench: configure
	cmake --build $(BUILD) --target bench -j $(JOBS)

clean:
	rm -rf $(BUILD)
