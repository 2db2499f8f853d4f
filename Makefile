# The two everyday commands: `make demo` (the main job on a copy of the bundled demo terminal) and `make test`.
.PHONY: all deps build test demo core bench clean package test-asan fuzz faults

all: build

deps:
	@scripts/install-deps.sh

build: deps
	@cmake --preset default >/dev/null
	@cmake --build --preset default

test: build
	@ctest --preset default

# Proves that everything outside src/app builds and passes its tests without Qt.
core: deps
	@cmake --preset core >/dev/null
	@cmake --build --preset core
	@ctest --preset core

# The whole suite, the window's tests included, under AddressSanitizer and UndefinedBehaviorSanitizer.
test-asan: deps
	@cmake --preset asan >/dev/null
	@cmake --build --preset asan
	@ctest --preset asan

# Every libFuzzer target for FUZZ_SECONDS (default 60) each; needs clang, installed on demand.
fuzz:
	@scripts/install-deps.sh fuzz
	@cmake --preset fuzz >/dev/null
	@cmake --build --preset fuzz
	@fuzz/run.sh

# Writers killed at random points, a few hundred times each: the files stay whole (old or new).
faults: build
	@build/bin/kill_writers 500

demo: build
	@scripts/demo.sh

bench: build
	@bench/run.sh

# The Debian package of the default build, left in dist/.
package: build
	@cd build && cpack -B "$(CURDIR)/dist"
	@rm -rf dist/_CPack_Packages

clean:
	rm -rf build build-core build-asan build-fuzz demo-run dist
