# The two everyday commands: `make demo` (the main job on a copy of the bundled demo terminal) and `make test`.
.PHONY: all deps build test demo core bench clean

all: build

deps:
	@scripts/install-deps.sh

build: deps
	@cmake --preset default >/dev/null
	@cmake --build --preset default

test: build
	@ctest --preset default

# Proves that everything outside src/app builds without Qt.
core: deps
	@cmake --preset core >/dev/null
	@cmake --build --preset core

demo: build
	@scripts/demo.sh

bench: build
	@bench/run.sh

clean:
	rm -rf build build-core demo-run
