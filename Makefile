# The two commands: `make run` and `make test`. Both install what is missing first.
# `make run` builds the game alone and starts it; `make test` builds everything (the tests and
# benchmarks too) in the same folder, so the game built for `make run` is not built again.
BUILD_DIR ?= build
JOBS ?= $(shell nproc)
# Arguments added to the game's for `make run`, e.g. RUN_ARGS="--user-dir /tmp/u --frames 600".
RUN_ARGS ?=

# WERROR=1: every compiler warning is an error (CI sets it); the build folder is configured again
# only when that changes.
WERROR ?=

# A compiler cache, when the machine has one, shares builds between checkouts.
LAUNCHER := $(if $(shell command -v ccache 2>/dev/null),-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)

FUZZ_DIR ?= build-fuzz
FUZZ_SECONDS ?= 180
# The sanitizer builds, each in a folder of its own.
ASAN_DIR ?= build-asan
TSAN_DIR ?= build-tsan

.PHONY: all deps configure game build run test package bench fuzz fuzz-build sanitize tsan tidy format-check \
        clean

all: build

deps:
	@tools/install-deps

configure: deps
	@if [ ! -f $(BUILD_DIR)/build.ninja ]; then \
	  cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo $(LAUNCHER); fi
	@want=$(if $(filter 1 ON on yes,$(WERROR)),ON,OFF); \
	  grep -qx "QUILTORA_WERROR:BOOL=$$want" $(BUILD_DIR)/CMakeCache.txt || \
	  cmake $(BUILD_DIR) -DQUILTORA_WERROR=$$want > /dev/null

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

# The unit and end-to-end tests built with AddressSanitizer and UndefinedBehaviorSanitizer
# (tools/sanitize has the details).
sanitize: deps
	@tools/sanitize address $(ASAN_DIR) $(JOBS)

# The tests that run threads (the launcher's worker, HTTP, sockets, files, the frame loop) built
# with ThreadSanitizer.
tsan: deps
	@tools/sanitize thread $(TSAN_DIR) $(JOBS)

# clang-tidy over the game's sources with the checks of .clang-tidy; fails on any finding.
tidy: configure
	@tools/install-deps --tidy
	@tools/run-tidy $(BUILD_DIR) $(JOBS)

# The lines .clang-format would change (none once the tree is formatted).
format-check:
	@tools/install-deps --tidy
	@JOBS=$(JOBS) tools/check-format

clean:
	rm -rf $(BUILD_DIR) $(FUZZ_DIR) $(ASAN_DIR) $(TSAN_DIR)
