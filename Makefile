# The two set-up commands: `make run` and `make test`. Both install what is missing first.
PRESET ?= default
BUILD_DIR := build

.PHONY: deps build run test check-asan bench clean format

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

bench: build
	$(BUILD_DIR)/bench/bench_zap

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf build build-asan
