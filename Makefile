# The two commands: `make run` and `make test`. Both install what is missing first.
# `make run` builds the game alone and starts it; `make test` builds everything (the tests and
# benchmarks too) in the same folder, so the game built for `make run` is not built again.
BUILD_DIR ?= build
JOBS ?= $(shell nproc)
# Arguments added to the game's for `make run`, e.g. RUN_ARGS="--user-dir /tmp/u --frames 600".
RUN_ARGS ?=

# A compiler cache, when the machine has one, shares builds between checkouts.
LAUNCHER := $(if $(shell command -v ccache 2>/dev/null),-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)

FUZZ_DIR ?= build-fuzz
FUZZ_SECONDS ?= 180

.PHONY: all deps configure game build run test package bench fuzz fuzz-build clean

all: build

deps:
	@tools/install-deps

configure: deps
	@if [ ! -f $(BUILD_DIR)/build.ninja ]; then \
	  cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo $(LAUNCHER); fi

# The game alone.
game: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS) --target quiltora

# Everything: the game, the tests and the benchmarks.
build: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS)

run: game
	$(BUILD_DIR)/quiltora --data data $(RUN_ARGS)

test: build
	cd $(BUILD_DIR) && ctest --output-on-failure -j $(JOBS) --timeout 300

# The Debian package, $(BUILD_DIR)/quiltora_<version>_<arch>.deb (dist/Install.cmake): the game
# and what the package holds, no test or benchmark (CPack builds nothing itself under Ninja).
package: game
	@cd $(BUILD_DIR) && cpack -G DEB

bench: build
	$(BUILD_DIR)/bench/quiltora_bench

# The fuzz targets (fuzz/): built with clang, each run for FUZZ_SECONDS (FUZZ_PARALLEL at once;
# FUZZ_TARGETS picks some).
fuzz-build:
	@tools/install-deps --fuzz
	@if [ ! -f $(FUZZ_DIR)/build.ninja ]; then \
	  cmake -S fuzz -B $(FUZZ_DIR) -G Ninja -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++; fi
	@cmake --build $(FUZZ_DIR) -j $(JOBS)

fuzz: fuzz-build
	@tools/run-fuzzers $(FUZZ_DIR) $(FUZZ_SECONDS) $(FUZZ_TARGETS)

clean:
	rm -rf $(BUILD_DIR) $(FUZZ_DIR)
