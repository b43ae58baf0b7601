# The two set-up commands: `make run` and `make test`. Both install what is missing first.
PRESET ?= default
BUILD_DIR := build

.PHONY: deps build run test check-asan bench fuzz package install-desktop clean format

deps:
	@tools/install-deps.sh

build: deps
	cmake --preset $(PRESET)
	cmake --build --preset $(PRESET)

run: build
	$(BUILD_DIR)/zorvik/zorvik

test: build
	ctest --preset $(PRESET)

check-asan: deps
	cmake --preset asan
	cmake --build --preset asan
	ctest --preset asan

# Speed figures, each against a baseline measured in the same run (about two minutes).
BENCH_FLAGS := --benchmark_repetitions=5 --benchmark_enable_random_interleaving=true
bench: build
	$(BUILD_DIR)/bench/bench_zap $(BENCH_FLAGS)
	$(BUILD_DIR)/bench/bench_window $(BENCH_FLAGS)
	$(BUILD_DIR)/bench/bench_process

# Each libFuzzer target for FUZZ_SECONDS (clang build in build-fuzz/).
FUZZ_SECONDS ?= 60
fuzz: deps
	fuzz/run.sh $(FUZZ_SECONDS)

# The portable program folder as build/zorvik-<version>-Linux.tar.gz, and the Debian package
# build/zorvik_<version>_<architecture>.deb.
package: build
	cd $(BUILD_DIR) && cpack

# A desktop entry for the current user that starts the built program.
install-desktop: build
	tools/install-desktop.sh $(abspath $(BUILD_DIR)/zorvik)

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf build build-asan
