# Thin wrappers over CMake and CTest. `make run`, `make test` and `make bench`
# install the Debian packages they need first (scripts/install-deps).

BUILD      ?= build
BUILD_ASAN ?= build-asan
BUILD_TSAN ?= build-tsan
BUILD_PACKAGE ?= build-package
JOBS       ?= $(shell nproc)
GENERATOR  := -G Ninja

# The program alone, warnings as warnings: a newer compiler must not keep a
# user from running it.
RUN_FLAGS  := -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBREVANTO_TESTS=OFF -DBREVANTO_WERROR=OFF
# Everything, warnings as errors.
TEST_FLAGS := -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBREVANTO_TESTS=ON -DBREVANTO_BENCH=ON \
              -DBREVANTO_WERROR=ON
# The sanitizer builds cover the core layers: everything but the windows.
CORE_FLAGS := -DBREVANTO_GUI=OFF -DBREVANTO_TESTS=ON -DBREVANTO_BENCH=OFF \
              -DBREVANTO_WERROR=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo
# The AddressSanitizer build is Clang's, so both compilers stay green
# without a build of their own.
CLANG      := -DCMAKE_C_COMPILER=clang-14 -DCMAKE_CXX_COMPILER=clang++-14

.PHONY: all build build-tests run test test-main test-asan test-tsan bench fuzz package format clean

all: build

build:
	@scripts/install-deps run
	@cmake -S . -B $(BUILD) $(GENERATOR) $(RUN_FLAGS) >/dev/null
	@cmake --build $(BUILD) -j $(JOBS)

run: build
	@scripts/run-demo $(BUILD)

build-tests:
	@scripts/install-deps run test
	@cmake -S . -B $(BUILD) $(GENERATOR) $(TEST_FLAGS) >/dev/null
	@cmake --build $(BUILD) -j $(JOBS)

test: test-main test-asan test-tsan

test-main: build-tests
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

test-asan:
	@scripts/install-deps run test
	@cmake -S . -B $(BUILD_ASAN) $(GENERATOR) $(CORE_FLAGS) $(CLANG) -DBREVANTO_SANITIZE=address,undefined \
		-DBREVANTO_FUZZ=ON >/dev/null
	@cmake --build $(BUILD_ASAN) -j $(JOBS)
	ctest --test-dir $(BUILD_ASAN) --output-on-failure -j $(JOBS)

test-tsan:
	@scripts/install-deps run test
	@cmake -S . -B $(BUILD_TSAN) $(GENERATOR) $(CORE_FLAGS) -DBREVANTO_SANITIZE=thread >/dev/null
	@cmake --build $(BUILD_TSAN) -j $(JOBS)
	ctest --test-dir $(BUILD_TSAN) --output-on-failure -j $(JOBS)

# The long fuzzing runs (ten million executions a target), on the ASan build.
fuzz: test-asan
	scripts/fuzz-campaign $(BUILD_ASAN)

# A .deb of the program and the simulator, built as the program is for `make
# run`, with the runtime dependencies dpkg-shlibdeps finds.
package:
	@scripts/install-deps run
	@cmake -S . -B $(BUILD_PACKAGE) $(GENERATOR) $(RUN_FLAGS) -DCMAKE_INSTALL_PREFIX=/usr >/dev/null
	@cmake --build $(BUILD_PACKAGE) -j $(JOBS)
	@cd $(BUILD_PACKAGE) && cpack -G DEB
	@ls $(BUILD_PACKAGE)/brevanto_*.deb

bench:
	@scripts/install-deps run test bench
	@cmake -S . -B $(BUILD) $(GENERATOR) $(TEST_FLAGS) >/dev/null
	@cmake --build $(BUILD) -j $(JOBS)
	@scripts/run-benchmarks $(BUILD)

format:
	@git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD) $(BUILD_ASAN) $(BUILD_TSAN) $(BUILD_PACKAGE)
