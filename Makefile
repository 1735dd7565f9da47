# Pelorix: one command to set up, build and play (make run) or test (make test) on Debian 12.
BUILD   ?= build
PLAY    ?= $(BUILD)/play
JOBS    ?= $(shell nproc 2>/dev/null || echo 2)
PACKAGES := cmake make g++ pkg-config qt6-base-dev libgl-dev libgtest-dev libgmock-dev libbenchmark-dev
# The whole-process measures also need an X server, a screen grabber and an input driver.
BENCH_PACKAGES := xvfb xauth xdotool x11-utils imagemagick

.PHONY: all deps install-missing configure build run test bench bench-before clean

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

# Plays in a folder of its own, seeded with the sample pictures; the source tree stays clean.
run: build
	mkdir -p $(PLAY)
	cp -n assets/samples/* $(PLAY)/ 2>/dev/null || true
	cd $(PLAY) && $(abspath $(BUILD))/pelorix

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

# The pace figures are given beside those of an earlier commit when `make bench-before` built it.
BEFORE       ?= $(wildcard build-before/out/pelorix_pace)
SOAK_MINUTES ?= 10

bench: build
	@$(MAKE) --no-print-directory install-missing WANT="$(BENCH_PACKAGES)"
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ./bench/pelorix_bench
	bench/process.sh $(BUILD)/pelorix
	bench/pace.sh $(BUILD)/bench/pelorix_pace $(BEFORE)
	bench/soak.sh $(BUILD)/bench/pelorix_soak $(SOAK_MINUTES)

# Builds the pace driver on commit fa4feba (before frames were paced) into build-before/.
bench-before: build
	bench/build-before.sh fa4feba build-before

clean:
	rm -rf $(BUILD)
