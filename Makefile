# Tavrin: `make` builds, `make test` runs every test, `make demo` runs the tour on the example.
BUILD ?= build
JOBS ?= $(shell nproc)

.PHONY: all deps configure build test demo bench format clean

all: build

deps:
	@scripts/install-deps

configure: deps
	@[ -f $(BUILD)/build.ninja ] || cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

test: build
	@cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

demo: build
	@scripts/demo $(BUILD)/tavrin

bench: build
	@$(BUILD)/bench/tavrin_bench

format:
	@git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	@rm -rf $(BUILD)
