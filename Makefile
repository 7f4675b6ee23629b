# The everyday commands. Each installs what is missing first (quick when nothing is).
#   make        build build/win64/Tarvelin.exe
#   make run    build and start it under Wine (headless: a screenshot to build/screenshot.png)
#   make test   build and run every test tier
#   make screenshots  redraw the README's pictures (docs/screenshot-en.png, -de.png)
SHELL := /bin/bash
JOBS ?= $(shell nproc)

PRESETS = win64 win32 host host-sanitize

.PHONY: all setup $(PRESETS) prefix run test bench dist checks check-format layers tidy cppcheck clean format screenshots fuzz

all: win64

setup:
	@scripts/setup.sh

# Configure once; afterwards cmake --build reconfigures by itself when a CMake file changes.
build/%/CMakeCache.txt: | setup
	@cmake --preset $* >/dev/null

$(PRESETS): %: setup build/%/CMakeCache.txt
	@set -o pipefail; cmake --build --preset $* -j $(JOBS) -- --no-print-directory \
	  | { grep -v -E '^\[ *[0-9]+%\] Built target' || true; }

prefix: setup
	@scripts/wine-prefix.sh

run: win64 prefix
	@scripts/run.sh

# Static checks first: they are quick and a finding fails the run before the long tiers.
test: checks fuzz host host-sanitize win64 win32 prefix
	@scripts/run-tests.sh host host-sanitize win64

# Start-up time, peak memory and size against a bare dialog; not part of make test.
bench: win64 prefix
	@cmake --build --preset win64 --target floor bench_timer -- --no-print-directory >/dev/null
	@scripts/bench.sh

# The release package: dist/Tarvelin-1.01-x64.zip and dist/SHA256SUMS.
dist: win64
	@scripts/dist.sh

# The dialog with its Program menu open, in English and German, kept small for the README.
screenshots: win64 prefix
	@scripts/screenshots.sh

# A short, seeded libFuzzer run over the settings number parser (clang, with ASan and UBSan):
# the same inputs every time, so it does not flake.
FUZZ_BIN = build/fuzz/settings_number_fuzz
FUZZ_SOURCES = settings/settings_number.cpp settings/settings_number.h \
               tests/fuzz/settings_number_fuzz.cpp

$(FUZZ_BIN): $(FUZZ_SOURCES) | setup
	@mkdir -p $(@D)
	@clang++ -std=c++17 -O1 -g -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all \
	  -Wall -Wextra -Werror -Isettings $(filter %.cpp,$^) -o $@

fuzz: $(FUZZ_BIN)
	@$(FUZZ_BIN) -seed=1 -runs=1000000 -max_len=96 -max_total_time=20 \
	  >build/fuzz/run.log 2>&1 \
	  && grep -m1 -E '^Done [0-9]+ runs' build/fuzz/run.log | sed 's/^/fuzz: /' \
	  || { tail -40 build/fuzz/run.log; exit 1; }

clean:
	rm -rf build dist

# Source files the formatter and the static checks look at.
SOURCES = $(shell git ls-files -co --exclude-standard '*.cpp' '*.h')

format:
	@clang-format -i $(SOURCES)

checks: check-format layers cppcheck tidy

check-format: setup
	@clang-format --dry-run --Werror $(SOURCES) || { echo "clang-format: run 'make format'"; exit 1; }
	@echo "clang-format: $(words $(SOURCES)) files formatted"

cppcheck: setup
	@scripts/cppcheck.sh

layers:
	@scripts/check-layers.sh

# Needs both compile databases.
tidy: host win64
	@scripts/tidy.sh
