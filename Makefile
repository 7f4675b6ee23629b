# The everyday commands. Each installs what is missing first (quick when nothing is).
#   make        build build/win64/Tarvelin.exe
#   make run    build and start it under Wine (headless: a screenshot to build/screenshot.png)
#   make test   build and run every test tier
SHELL := /bin/bash
JOBS ?= $(shell nproc)

.PHONY: all setup win64 win32 host prefix run test clean format

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

test: host win64 win32 prefix
	@scripts/run-tests.sh host win64

clean:
	rm -rf build dist

# Source files the formatter and the static checks look at.
SOURCES = $(shell git ls-files '*.cpp' '*.h')

format:
	@clang-format -i $(SOURCES)
