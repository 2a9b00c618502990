# Tarvik: `make run` builds and starts the program, `make test` runs every test.
PRESET ?= default
BUILD := build
JOBS ?= $(shell nproc)

.PHONY: all deps configure build run test test-desktop test-asan screenshots screenshots-desktop bench bench-ip-release bench-live fuzz install package package-check clean

all: build

deps:
	@scripts/install-deps

$(BUILD)/build.ninja: | deps
	cmake --preset default

configure: deps
	cmake --preset default

build: deps $(BUILD)/build.ninja
	cmake --build --preset default -j $(JOBS)

run: build
	@if [ -z "$$DISPLAY" ] && [ -z "$$WAYLAND_DISPLAY" ]; then \
	  echo "No display found: starting Tarvik on a virtual display (xvfb-run)."; \
	  xvfb-run -a $(BUILD)/bin/tarvik; \
	else \
	  $(BUILD)/bin/tarvik; \
	fi

test: build
	ctest --preset default

# The window tests that need a real desktop: Xvfb with openbox (scripts/desktop-session);
# the window manager, not Qt, says which window is on top.
test-desktop: build
	scripts/desktop-session ctest --test-dir $(BUILD) -L desktop --output-on-failure

test-asan: deps
	cmake --preset asan
	cmake --build --preset asan -j $(JOBS)
	ctest --preset asan

screenshots: build
	rm -rf $(BUILD)/screenshots
	QT_QPA_PLATFORM=offscreen $(BUILD)/bin/tarvik-screenshots $(BUILD)/screenshots

# A few of the desktop tests' questions pictured on Xvfb with openbox, the
# whole screen as the window manager stacks it (the question on top).
DESKTOP_SHOTS := TspDesktop.UpperBound*:TspDesktop.TheSeed*:DesktopTest.CoinTossing*:RouletteDesktop.TheRefusal*:MonteCarloDesktop.*:DesktopTest.Markov*:DesktopTest.ShortestPath*
screenshots-desktop: build
	rm -rf $(BUILD)/screenshots-desktop
	TARVIK_DESKTOP_SHOTS=$(CURDIR)/$(BUILD)/screenshots-desktop scripts/desktop-session \
	  $(BUILD)/bin/tarvik_desktop_tests --gtest_filter='$(DESKTOP_SHOTS)'

bench: build
	@for b in $(BUILD)/bin/bench_*; do echo "== $$b"; $$b; done

# The integer benchmark from a release build (build-release), for figures to quote.
bench-ip-release: deps
	cmake --preset release
	cmake --build --preset release -j $(JOBS) --target bench_ip
	build-release/bin/bench_ip

# The live-picture benchmarks offscreen and on an X server (Xvfb), side by side.
bench-live: build
	@scripts/bench-live $(BUILD)

# The fuzz targets, built with clang, each run from its seed corpus for FUZZ_SECONDS.
FUZZ_SECONDS ?= 60
fuzz: deps
	CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DTARVIK_FUZZ=ON -DTARVIK_BENCH=OFF
	cmake --build build-fuzz -j $(JOBS) --target fuzz_all
	scripts/run-fuzz build-fuzz/bin $(FUZZ_SECONDS)

# Installs the program, tarvik-solve, the help file, the desktop entry, the
# icon, the manual pages, the bash completion and the AppStream metadata under PREFIX (DESTDIR is honoured for staged installs).
PREFIX ?= /usr/local
install: build
	cmake --install $(BUILD) --prefix $(PREFIX)

# A Debian package (build/tarvik_<version>_<arch>.deb) that installs under /usr.
package: build
	cd $(BUILD) && cpack -G DEB

# The package checked as a distribution would: lintian, desktop-file-validate,
# appstreamcli validate --no-net and man -l on both pages (scripts/package-check).
package-check: build
	scripts/package-check $(BUILD)

clean:
	rm -rf $(BUILD) build-asan build-fuzz
