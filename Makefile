# Thin wrappers over CMake and CTest. `make run` and `make test` install the
# Debian packages they need first (scripts/install-deps).

BUILD      ?= build
BUILD_ASAN ?= build-asan
BUILD_TSAN ?= build-tsan
JOBS       ?= $(shell nproc)
GENERATOR  := -G Ninja

# The sanitizer builds cover the core layers: everything but the windows.
CORE_FLAGS := -DBREVANTO_GUI=OFF -DBREVANTO_BENCH=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo

.PHONY: all deps build run test test-main test-asan test-tsan bench format clean

all: build

deps:
	@scripts/install-deps

build: deps
	@cmake -S . -B $(BUILD) $(GENERATOR) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	@cmake --build $(BUILD) -j $(JOBS)

run: build
	@scripts/run-demo $(BUILD)

test: test-main test-asan test-tsan

test-main: build
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

test-asan: deps
	@cmake -S . -B $(BUILD_ASAN) $(GENERATOR) $(CORE_FLAGS) -DBREVANTO_SANITIZE=address,undefined >/dev/null
	@cmake --build $(BUILD_ASAN) -j $(JOBS)
	ctest --test-dir $(BUILD_ASAN) --output-on-failure -j $(JOBS)

test-tsan: deps
	@cmake -S . -B $(BUILD_TSAN) $(GENERATOR) $(CORE_FLAGS) -DBREVANTO_SANITIZE=thread >/dev/null
	@cmake --build $(BUILD_TSAN) -j $(JOBS)
	ctest --test-dir $(BUILD_TSAN) --output-on-failure -j $(JOBS)

bench: build
	@scripts/run-benchmarks $(BUILD)

format:
	@git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD) $(BUILD_ASAN) $(BUILD_TSAN)
