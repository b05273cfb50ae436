# Sketchpost: every target first installs what a fresh Debian 12 machine
# lacks (scripts/install-deps), then configures and builds with CMake presets.

FUZZ_SECONDS ?= 60
JOBS ?= $(shell nproc)
# Where `make install` puts the programs; DESTDIR, when set, goes in front.
PREFIX ?= /usr/local
prefix := $(patsubst ~%,$(HOME)%,$(PREFIX))

.PHONY: all deps build build-asan run examples test test-release test-asan bench fuzz format clean install package

all: build

deps:
	@bash scripts/install-deps

build: deps
	cmake --preset default
	cmake --build --preset default -j $(JOBS)

build-asan: deps
	cmake --preset asan
	cmake --build --preset asan -j $(JOBS)

run: build
	./build/sketchpost

# The programs, launcher, icons, file type and manual pages under $(PREFIX).
# Installed for the user alone (no DESTDIR), the desktop learns of the file
# type and the launcher at once.
install: build
	DESTDIR="$(DESTDIR)" cmake --install build --prefix "$(prefix)"
	@if [ -z "$(DESTDIR)" ]; then \
	  command -v update-mime-database >/dev/null && update-mime-database "$(prefix)/share/mime" || true; \
	  command -v update-desktop-database >/dev/null && update-desktop-database "$(prefix)/share/applications" || true; \
	fi

# Two Debian packages in this folder: sketchpost-render_VERSION_ARCH.deb, the
# renderer alone (no Qt), and sketchpost_VERSION_ARCH.deb, the desktop
# program, which needs the first.
package: build
	cd build && cpack -G DEB
	cp build/sketchpost_*.deb build/sketchpost-render_*.deb .

# The sample postings drawn as pictures by the command-line renderer.
examples: build
	@bash scripts/render-examples build

test: test-release test-asan

test-release: build
	ctest --preset default -j $(JOBS)

test-asan: build-asan
	ctest --preset asan -j $(JOBS)

bench: build
	@bash scripts/install-deps --bench
	@bash scripts/run-benchmarks build/bench

fuzz: deps
	cmake --preset fuzz
	cmake --build --preset fuzz -j $(JOBS) --target fuzzers
	@bash scripts/run-fuzz build-fuzz $(FUZZ_SECONDS)

format: deps
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf build build-asan build-fuzz sketchpost_*.deb sketchpost-render_*.deb
