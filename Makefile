# Set-up, build and test on a fresh Debian 12 machine. Missing packages are installed with
# apt-get (through sudo when not root).
BUILD_DIR ?= build
BUILD_TYPE ?= Release
JOBS ?= $(shell nproc)
SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)

PACKAGES := cmake make g++ pkg-config qt6-base-dev libgl-dev libcli11-dev nlohmann-json3-dev \
            libgtest-dev libgmock-dev fonts-liberation fonts-dejavu-core

.PHONY: all deps configure build run test bench screenshot clean

all: build

deps:
	@missing=$$(for p in $(PACKAGES); do dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null \
	    | grep -q 'install ok installed' || echo $$p; done); \
	if [ -n "$$missing" ]; then \
	    echo "Installing missing packages:" $$missing; \
	    $(SUDO) apt-get update -qq && \
	    DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y -qq $$missing; \
	fi

configure: deps
	cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=$(BUILD_TYPE)

build: configure
	cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	$(BUILD_DIR)/bin/loto

test: build
	cd $(BUILD_DIR) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

bench: build
	$(BUILD_DIR)/bin/loto-bench
	$(BUILD_DIR)/bin/loto-parallel-bench
	$(BUILD_DIR)/bin/loto-window-bench

screenshot: build
	QT_QPA_PLATFORM=offscreen $(BUILD_DIR)/bin/loto --screenshot docs/screenshot.png

clean:
	rm -rf $(BUILD_DIR)
