# Tavrin: `make` builds, `make test` runs every test, `make demo` runs the tour on the example.
# `make test-asan` runs every test under the address and undefined-behaviour sanitizers, `make fuzz`
# builds the fuzz targets, `make fuzz-smoke` runs each on its corpus for a minute (docs/checks.md).
BUILD ?= build
ASAN_BUILD ?= build-asan
FUZZ_BUILD ?= build-fuzz
JOBS ?= $(shell nproc)
FUZZ_SECONDS ?= 60
# E.g. BENCH_ARGS="--benchmark_filter=UserList --benchmark_repetitions=10
# --benchmark_enable_random_interleaving=true": medians of runs interleaved, steadier on a shared
# machine.
BENCH_ARGS ?=
# CI builds with warnings as errors (make test WERROR=ON).
WERROR ?= OFF
SANITIZERS = -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer
# What the sanitizer and fuzz builds share: -O1 -g, the standard library's bounds checks (a read
# past a view's end inside a longer text is no overflow to the sanitizer), warnings left to the
# normal build.
CHECK_BUILD = -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g -D_GLIBCXX_ASSERTIONS" \
  -DCMAKE_COMPILE_WARNING_AS_ERROR=OFF

.PHONY: all deps configure build oxt install-oxt test test-asan fuzz fuzz-smoke demo bench \
  bench-calc mutate format clean

all: build

deps:
	@scripts/install-deps

configure: deps
	@[ -f $(BUILD)/build.ninja ] || cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DCMAKE_COMPILE_WARNING_AS_ERROR=$(WERROR) >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

# The LibreOffice Calc extension, build/tavrin.oxt (docs/calc.md); configuring again finds an SDK
# installed since the first configure.
oxt: configure
	@cmake -S . -B $(BUILD) >/dev/null
	@cmake --build $(BUILD) -j $(JOBS) --target oxt

# Adds the extension to LibreOffice for the current user (Calc must be closed).
install-oxt: oxt
	@scripts/install-oxt $(BUILD)/tavrin.oxt

test: build oxt
	@cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

# Its own folder; -O1 keeps the run quick and the reports readable. The Calc tests are left
# out: Calc cannot load an extension built with the sanitizers. Built with clang, as the fuzz
# targets are (GCC warns of uninitialised values in its own headers when the sanitizers are on).
test-asan: deps
	@[ -f $(ASAN_BUILD)/build.ninja ] || CC=clang CXX=clang++ cmake -S . -B $(ASAN_BUILD) -G Ninja \
	  $(CHECK_BUILD) -DCMAKE_CXX_FLAGS="$(SANITIZERS)" >/dev/null
	@cmake --build $(ASAN_BUILD) -j $(JOBS)
	@cd $(ASAN_BUILD) && ASAN_OPTIONS=detect_stack_use_after_return=1:strict_string_checks=1 \
	  UBSAN_OPTIONS=print_stacktrace=1 ctest --output-on-failure -j $(JOBS) -E "calc_hosts|calc_gui"

# Clang's libFuzzer; only the libraries the targets link are built.
fuzz: deps
	@[ -f $(FUZZ_BUILD)/build.ninja ] || CC=clang CXX=clang++ cmake -S . -B $(FUZZ_BUILD) -G Ninja \
	  $(CHECK_BUILD) -DCMAKE_CXX_FLAGS="-fsanitize=fuzzer-no-link $(SANITIZERS)" -DTAVRIN_FUZZERS=ON \
	  >/dev/null
	@cmake --build $(FUZZ_BUILD) -j $(JOBS) --target fuzzers

fuzz-smoke: fuzz
	@scripts/fuzz-smoke $(FUZZ_BUILD)/fuzz $(FUZZ_SECONDS)

demo: build
	@scripts/demo $(BUILD)/tavrin

bench: build
	@cmake --build $(BUILD) -j $(JOBS) --target tavrin_bench
	@$(BUILD)/bench/tavrin_bench $(BENCH_ARGS)

# The tools at 65,535 records in LibreOffice Calc beside Calc's own time for their formulas and
# the tavrin command (docs/calc.md). Figures, not tests.
bench-calc: build oxt
	@/usr/bin/python3 bench/calc_bench.py --tavrin $(BUILD)/tavrin --oxt $(BUILD)/tavrin.oxt \
	  --work $(BUILD)/calc-bench

# Mutation testing on a copy of the tree in build-mutate/ (docs/checks.md), e.g.
# make mutate SEED=3 COUNT=30 LAYERS="src/io src/server". Not part of `make test`.
SEED ?= 1
COUNT ?= 20
LAYERS ?= src/io src/spreadsheet src/tools src/server src/session src/host
MUTATE_DIR ?= build-mutate
mutate: deps
	@SEED=$(SEED) COUNT=$(COUNT) LAYERS="$(LAYERS)" MUTATE_DIR=$(MUTATE_DIR) scripts/mutate

format:
	@git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	@rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD) build-mutate*
