# SPDX-License-Identifier: MIT
# Pelorix: one command to set up, build and play (make run) or test (make test) on Debian 12.
BUILD   ?= build
PLAY    ?= $(BUILD)/play
JOBS    ?= $(shell nproc 2>/dev/null || echo 2)
PACKAGES := cmake make g++ pkg-config qt6-base-dev libgl-dev libgtest-dev libgmock-dev libbenchmark-dev libxcb1-dev
# The screen-saver tests run the program in windows of a real X server.
PACKAGES += xvfb xauth
# Qt's further picture formats (TIFF, WebP, ...): such photos play too, and the tests read a TIFF.
PACKAGES += qt6-image-formats-plugins
# The whole-process measures also need an X server, a screen grabber and an input driver.
BENCH_PACKAGES := xvfb xauth xdotool x11-utils imagemagick
# The fuzz targets are built with clang and its libFuzzer runtime.
FUZZ_PACKAGES := clang libclang-rt-dev
# The Debian package's dependencies are computed by dpkg-shlibdeps, which CPack finds with `file`.
DEB_PACKAGES := dpkg-dev file
# lintian checks the package; the install test runs it where it is installed.
PACKAGE_PACKAGES := $(DEB_PACKAGES) lintian
# The install test validates the desktop entry and the AppStream metadata, and builds the package;
# the window test on a real display waits for the window with xwininfo.
TEST_PACKAGES := desktop-file-utils appstream x11-utils $(DEB_PACKAGES)
PREFIX  ?= /usr/local

.PHONY: all deps install-missing configure build program run test sanitize bench bench-before install uninstall package clean

all: build

# Installs the Debian packages the build needs, only those that are missing.
deps:
	@$(MAKE) --no-print-directory install-missing WANT="$(PACKAGES)"

install-missing:
	@missing=""; for p in $(WANT); do \
	  dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q 'install ok installed' || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	  echo "Installing:$$missing"; \
	  SUDO=""; [ "$$(id -u)" -eq 0 ] || SUDO=sudo; \
	  $$SUDO apt-get update && DEBIAN_FRONTEND=noninteractive $$SUDO apt-get install -y $$missing; \
	fi

$(BUILD)/CMakeCache.txt:
	cmake -S . -B $(BUILD)

configure: deps $(BUILD)/CMakeCache.txt

build: configure
	cmake --build $(BUILD) -j $(JOBS)

# Only what ships: the program (the samples, icons and other data files need no build).
program: configure
	cmake --build $(BUILD) -j $(JOBS) --target pelorix

# Plays in a folder of its own, seeded with the sample pictures; the source tree stays clean.
run: build
	mkdir -p $(PLAY)
	cp -n assets/samples/* $(PLAY)/ 2>/dev/null || true
	cd $(PLAY) && $(abspath $(BUILD))/pelorix

test: build
	@$(MAKE) --no-print-directory install-missing WANT="$(TEST_PACKAGES)"
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

# The whole suite once more, built with AddressSanitizer and UndefinedBehaviorSanitizer in a folder
# of its own. Only the test programs and the program they run are built. Any sanitizer finding
# fails its test: undefined behaviour stops the process, and a leak makes it exit non-zero unless
# it lies inside one of the system libraries the suppression file names. The install tests are
# left out (with lintian's verdict on the package): they check which files are installed, which the
# sanitizers do not change.
# Strict string checks stay off: they take every string a function is handed to end in a zero
# byte, and so report the X keyboard library's strndup of an atom's name, which has its length
# and no terminator, as an overflow; that call is sound, and with the check on the window could
# not start on a real display.
# The interception of __tls_get_addr stays off: with Qt's further image plugins loaded at run time,
# it records a dynamic TLS block of one of them wrongly on this glibc, and the leak check then
# crashes as it walks that block. Off, dynamic TLS is not scanned for pointers, which can only add
# leak reports, never hide one.
SANITIZE_BUILD   ?= build-sanitize
SANITIZE_FLAGS   := -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined
SANITIZE_TARGETS := pelorix pelorix_tests pelorix_gui_tests pelorix_app_tests pelorix_saver_tests
SANITIZE_SKIP    := ^app\.install$$|^app\.package_lintian$$|^saver_install_files$$

sanitize: deps
	cmake -S . -B $(SANITIZE_BUILD) -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-g -O1" \
	  -DCMAKE_CXX_FLAGS="$(SANITIZE_FLAGS)" -DCMAKE_EXE_LINKER_FLAGS="$(SANITIZE_FLAGS)" -DPELORIX_BENCH=OFF
	cmake --build $(SANITIZE_BUILD) -j $(JOBS) --target $(SANITIZE_TARGETS)
	cd $(SANITIZE_BUILD) && QT_QPA_PLATFORM=offscreen \
	  ASAN_OPTIONS=detect_leaks=1:detect_stack_use_after_return=1:intercept_tls_get_addr=0 \
	  LSAN_OPTIONS=suppressions=$(abspath tests/sanitize/leaks.supp):print_suppressions=0 \
	  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	  ctest --output-on-failure -j $(JOBS) -E '$(SANITIZE_SKIP)'

# The pace figures are given beside those of an earlier commit when `make bench-before` built it;
# the screen saver's beside an earlier program when SAVER_BEFORE names one.
BEFORE       ?= $(wildcard build-before/out/pelorix_pace)
SAVER_BEFORE ?=
SOAK_MINUTES ?= 10

bench: build
	@$(MAKE) --no-print-directory install-missing WANT="$(BENCH_PACKAGES)"
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ./bench/pelorix_bench
	bench/process.sh $(BUILD)/pelorix
	bench/saver.sh $(BUILD)/pelorix $(SAVER_BEFORE)
	bench/pace.sh $(BUILD)/bench/pelorix_pace $(BEFORE)
	bench/soak.sh $(BUILD)/bench/pelorix_soak $(SOAK_MINUTES)

# Installs under PREFIX (/usr/local unless given; use sudo for a system folder).
# The list of installed files is kept apart: every `cmake --install` (the install test's too)
# rewrites install_manifest.txt.
install: program
	cmake --install $(BUILD) --prefix $(PREFIX)
	cp $(BUILD)/install_manifest.txt $(BUILD)/installed_files.txt

# Removes what the last `make install` installed.
uninstall:
	@test -f $(BUILD)/installed_files.txt || { echo "nothing installed from $(BUILD)"; exit 1; }
	xargs -d '\n' rm -f -- < $(BUILD)/installed_files.txt
	rm -f $(BUILD)/installed_files.txt

# Builds $(BUILD)/pelorix_<version>_amd64.deb from the program alone, not the tests or benchmarks.
package: program
	@$(MAKE) --no-print-directory install-missing WANT="$(PACKAGE_PACKAGES)"
	cd $(BUILD) && cpack -G DEB && lintian --fail-on error,warning pelorix_*_amd64.deb

# Builds the pace driver on commit fa4feba (before frames were paced) into build-before/.
bench-before: build
	bench/build-before.sh fa4feba build-before

# Builds the fuzz targets with clang into FUZZ_BUILD and runs each for FUZZ_SECONDS.
FUZZ_BUILD   ?= build-fuzz
FUZZ_SECONDS ?= 60

.PHONY: fuzz
fuzz: deps
	@$(MAKE) --no-print-directory install-missing WANT="$(FUZZ_PACKAGES)"
	cmake -S . -B $(FUZZ_BUILD) -DCMAKE_CXX_COMPILER=clang++ -DPELORIX_FUZZ=ON -DPELORIX_TESTS=OFF -DPELORIX_BENCH=OFF \
	  $(if $(shell command -v ccache),-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
	cmake --build $(FUZZ_BUILD) -j $(JOBS) --target pelorix_fuzz
	fuzz/run.sh $(FUZZ_BUILD) $(FUZZ_SECONDS)

clean:
	rm -rf $(BUILD)
