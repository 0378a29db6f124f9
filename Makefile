# Set-up, build and test on a fresh Debian 12 machine. Missing packages are installed with
# apt-get (through sudo when not root).
BUILD_DIR ?= build
BUILD_TYPE ?= Release
JOBS ?= $(shell nproc)
PREFIX ?= /usr/local
SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)

# What the web page's build needs, then the three browser engines that its tests and benchmark
# drive: Chromium and WebKitGTK through WebDriver, Firefox ESR through WebDriver BiDi.
WEB_PACKAGES := cmake make emscripten
BROWSER_PACKAGES := chromium chromium-driver firefox-esr webkit2gtk-driver python3-selenium \
                    python3-websocket python3-pil xvfb xauth
# Debian's emcc finds its acorn module there, and the page's build takes no node_modules of a user.
EMSCRIPTEN_ENV := NODE_PATH=/usr/share/nodejs

# loto-sim for a cluster: Open MPI's compiler wrappers, headers and mpirun.
MPI_PACKAGES := libopenmpi-dev openmpi-bin

# What building and running the window needs, then what loto-sim, the tests and the package add.
RUN_PACKAGES := cmake make g++ qt6-base-dev qt6-qpa-plugins libgl-dev libxcb1-dev libx11-dev \
                fonts-liberation fonts-dejavu-core
ALL_PACKAGES := $(RUN_PACKAGES) pkg-config dpkg-dev libcli11-dev nlohmann-json3-dev \
                libgtest-dev libboost-math-dev librsvg2-bin xvfb \
                xauth xdotool xclip time python3-pyatspi at-spi2-core dbus-daemon lintian \
                appstream appstream-util $(WEB_PACKAGES) $(BROWSER_PACKAGES) \
                $(MPI_PACKAGES)

OFFSCREEN := QT_QPA_PLATFORM=offscreen

.PHONY: mca all deps run-deps configure build run test bench screenshot package install clean \
        sanitize-test package-check audit web web-deps web-bench cluster cluster-test

all: build

# Installs those of the packages in $(1) that are missing.
define install-missing
	@missing=$$(for p in $(1); do dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null \
	    | grep -q 'install ok installed' || echo $$p; done); \
	if [ -n "$$missing" ]; then \
	    echo "Installing missing packages:" $$missing; \
	    $(SUDO) apt-get update -qq && \
	    DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y -qq $$missing; \
	fi
endef

run-deps:
	$(call install-missing,$(RUN_PACKAGES))

deps:
	$(call install-missing,$(ALL_PACKAGES))

# The builds are CMakePresets.json's: `cmake --preset asan && ctest --preset asan` works alike.
configure: deps
	cmake --preset release -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=$(BUILD_TYPE)

build: configure
	cmake --build $(BUILD_DIR) -j $(JOBS)

# The window alone: no loto-sim, tests or benchmarks to install or build first.
run: run-deps
	cmake --preset window -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=$(BUILD_TYPE)
	cmake --build $(BUILD_DIR) -j $(JOBS) --target loto
	$(BUILD_DIR)/bin/loto

# The web page, one file: $(BUILD_DIR)/web/loto.html.
web-deps:
	$(call install-missing,$(WEB_PACKAGES))

web: web-deps
	$(EMSCRIPTEN_ENV) emcmake cmake -S . -B $(BUILD_DIR)/web -DCMAKE_BUILD_TYPE=Release \
	    -DLOTO_WERROR=ON
	$(EMSCRIPTEN_ENV) cmake --build $(BUILD_DIR)/web -j $(JOBS)

# Every test: the Release build and the web page, the same tests under AddressSanitizer and
# UndefinedBehaviorSanitizer, loto-sim under mpirun, and the package.
test: build web
	cd $(BUILD_DIR) && $(OFFSCREEN) ctest --output-on-failure -j $(JOBS)
	$(MAKE) --no-print-directory sanitize-test cluster-test package-check

sanitize-test: deps
	cmake --preset asan
	cmake --build --preset asan -j $(JOBS)
	ctest --preset asan -j $(JOBS)

# loto-sim built with Open MPI, in build-mpi/ (the package's loto-sim has no MPI): run it as
# mpirun -n 2 build-mpi/bin/loto-sim ...
cluster: deps
	cmake --preset cluster
	cmake --build --preset cluster -j $(JOBS)

# Its ranks against one process, byte for byte, one rank's cores each (ctest one test at a time).
cluster-test: cluster
	ctest --preset cluster

package: build web
	cd $(BUILD_DIR) && cpack -G DEB

# The two packages: lintian and the AppStream validators find nothing to say (appstream-util's
# strict mode asks for a homepage, which there is none of), both install, start, draw as
# expected and remove cleanly.
PACKAGES := $(BUILD_DIR)/loto_1.00_amd64.deb $(BUILD_DIR)/loto-sim_1.00_amd64.deb
package-check: package
	lintian --fail-on error,warning $(PACKAGES)
	appstreamcli validate --pedantic --no-net app/org.loto649.Loto.metainfo.xml
	appstream-util validate-relax --nonet app/org.loto649.Loto.metainfo.xml
	$(SUDO) dpkg -i $(PACKAGES)
	test "$$(/usr/bin/loto-sim --version)" = "loto-sim 1.00"
	test "$$(/usr/bin/loto --version)" = 1.00
	/usr/bin/loto-sim --json 1000 7 10 14 20 30 40 | grep -q '"observed":\[399,444,135,22,0,0,0\]'
	cmp /usr/share/loto/web/loto.html $(BUILD_DIR)/web/loto.html
	@shot=$$(mktemp --suffix=.png) && $(OFFSCREEN) /usr/bin/loto --screenshot "$$shot" && \
	test -s "$$shot" && rm "$$shot"
	$(SUDO) dpkg -r loto loto-sim
	test ! -e /usr/bin/loto && test ! -e /usr/bin/loto-sim && ! dpkg -s loto loto-sim 2>/dev/null
	test ! -e /usr/share/loto
	@echo "package-check: both packages install, start, draw as expected and remove cleanly"

# Honours PREFIX and DESTDIR; build/install_manifest.txt lists what was installed.
install: build web
	DESTDIR=$(DESTDIR) cmake --install $(BUILD_DIR) --prefix $(PREFIX)

bench: build web-bench mca cluster
	$(BUILD_DIR)/bin/loto-bench $(BUILD_DIR)/bin/loto-sim
	$(BUILD_DIR)/bin/loto-parallel-bench
	$(BUILD_DIR)/bin/loto-games-bench $(BUILD_DIR)/bin/loto-sim
	$(BUILD_DIR)/bin/loto-money-bench
	$(BUILD_DIR)/bin/loto-audit-bench $(BUILD_DIR)/bin/loto-sim
	$(BUILD_DIR)/bin/loto-window-bench
	build-mpi/bin/loto-cluster-bench build-mpi/bin/loto-sim

# The lanes' and the serial loop's steady loops as llvm-mca models them on Zen 3, Zen 4, Alder
# Lake and Skylake, beside the bare chain: for the processors that are not at hand.
mca: build
	$(call install-missing,llvm-19)
	sh bench/mca.sh $(BUILD_DIR)

# The page in each browser engine beside native loto-sim on one thread: draws, frames and clicks.
web-bench: build web
	xvfb-run -a /usr/bin/python3 bench/web_bench.py $(BUILD_DIR)/bin/loto-sim \
	    $(BUILD_DIR)/web/loto.html

# The generator under Debian's dieharder: writes docs/generator-audit.md (a few minutes).
audit: build
	$(call install-missing,dieharder)
	bench/generator_audit.sh $(BUILD_DIR)/bin/loto-sim docs/generator-audit.md

# The README's pictures, under a fixed clock and from the seed: the same program renders the same
# files, and the tests compare them with what it draws.
screenshot: build web
	$(OFFSCREEN) $(BUILD_DIR)/bin/loto --screenshot docs/screenshot.png
	/usr/bin/python3 tools/page_screenshots.py $(BUILD_DIR)/web/loto.html docs/web-screenshot.png \
	    docs/web-640.png docs/web-phone.png docs/panel.png docs/panel-phone.png docs/audit-page.png \
	    docs/audit-phone.png
	$(BUILD_DIR)/bin/loto-sim --svg docs/chart.svg 1000000 7 10 14 20 30 40 >/dev/null
	$(BUILD_DIR)/bin/loto-sim --svg docs/chart-deviations.svg --repeat 30 1000000 7 10 14 20 30 40 >/dev/null

clean:
	rm -rf $(BUILD_DIR) build-asan
