# The everyday commands. Each installs what is missing first (quick when nothing is).
#   make        build build/win64/Tarvelin.exe
#   make run    build and start it under Wine (headless: a screenshot to build/screenshot.png)
#   make test   build and run every test tier
SHELL := /bin/bash
JOBS ?= $(shell nproc)

.PHONY: all setup win64 win32 host prefix run test clean format fuzz

all: win64

setup:
	@scripts/setup.sh

# Configure once; afterwards cmake --build reconfigures by itself when a CMake file changes.
build/%/CMakeCache.txt: | setup
	@cmake --preset $* >/dev/null

win64 win32 host: %: setup build/%/CMakeCache.txt
	@set -o pipefail; cmake --build --preset $* -j $(JOBS) -- --no-print-directory \
	  | { grep -v -E '^\[ *[0-9]+%\] Built target' || true; }

prefix: setup
	@scripts/wine-prefix.sh

run: win64 prefix
	@scripts/run.sh

test: host win64 fuzz prefix
	@scripts/run-tests.sh host win64

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
SOURCES = $(shell git ls-files '*.cpp' '*.h')

format:
	@clang-format -i $(SOURCES)
