# SPDX-FileCopyrightText: 2026 Quelbrin <zorvik@quelbrin.example>
# SPDX-License-Identifier: GPL-3.0-or-later

# The two set-up commands: `make run` and `make test`. Both install what is missing first: `make run`
# what building and running need, `make test` the test tools as well.
PRESET ?= default
BUILD_DIR := build
DEPS ?= test

.PHONY: deps build run test check-asan bench fuzz package install-desktop clean format

deps:
	@tools/install-deps.sh $(DEPS)

build: deps
	cmake --preset $(PRESET)
	cmake --build --preset $(PRESET)

run package install-desktop: DEPS = run
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
# Built twice from the same sources, the .deb is the same bytes: its files are dated by the newest
# release in CHANGELOG.md, or by SOURCE_DATE_EPOCH when that is set.
package: build
	cd $(BUILD_DIR) && cpack

# A desktop entry for the current user that starts the built program.
install-desktop: build
	tools/install-desktop.sh $(abspath $(BUILD_DIR)/zorvik)

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf build build-asan
