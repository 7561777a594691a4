# Tavrel: Windows x64 build with mingw-w64, tests and benchmarks under Wine.
BUILD := build
CMAKE_FLAGS := -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DCMAKE_BUILD_TYPE=Release

.PHONY: all setup configure build test run bench clean

all: build

setup:
	@tools/setup.sh

$(BUILD)/CMakeCache.txt: | setup
	cmake -S . -B $(BUILD) $(CMAKE_FLAGS)

configure: setup $(BUILD)/CMakeCache.txt

build: configure
	cmake --build $(BUILD) -j 2

test: build
	tools/with-display ctest --test-dir $(BUILD) --output-on-failure -j 2

run: build
	tools/run-app

bench: build
	tools/with-display bench/run $(BUILD)

clean:
	rm -rf $(BUILD)
