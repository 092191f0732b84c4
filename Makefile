# Convenience front end to CMake. `make run` builds and opens the viewer on the sample design;
# `make test` builds everything and runs every test (GL tests under a virtual X server), then
# fuzzes each file reader for a bounded number of inputs. `make install` installs the program
# for every user under PREFIX (/usr/local unless given), desktop entry and thumbnailer included.
BUILD ?= build
DOLPHIN_BUILD ?= build-dolphin
JOBS ?= 2
CMAKE_FLAGS ?=
SAMPLE = data/samples/rose-badge.dst

.PHONY: all build run test check fuzz bench clean install dolphin deb

all: build

$(BUILD)/build.ninja:
	cmake -S . -B $(BUILD) -G Ninja $(CMAKE_FLAGS)

build: $(BUILD)/build.ninja
	cmake --build $(BUILD) -j $(JOBS)

run: build
	./$(BUILD)/loomscope $(SAMPLE)

# The suite runs three times: as it comes, under a German locale, whose decimal comma has
# tripped up number reading before, and under a Chinese one.
check: build
	cd $(BUILD) && xvfb-run -a -s "-screen 0 1600x1200x24" ctest --output-on-failure -j $(JOBS)
	cd $(BUILD) && LANG=de_DE.UTF-8 LC_ALL=de_DE.UTF-8 \
	    xvfb-run -a -s "-screen 0 1600x1200x24" ctest --output-on-failure -j $(JOBS)
	cd $(BUILD) && LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8 LANGUAGE=zh_CN \
	    xvfb-run -a -s "-screen 0 1600x1200x24" ctest --output-on-failure -j $(JOBS)

fuzz:
	tools/fuzz.sh 20000

test: check fuzz

bench: $(BUILD)/build.ninja
	cmake --build $(BUILD) -j $(JOBS) --target bench
	tools/bench.sh $(BUILD)

install: build
	cmake --install $(BUILD) $(if $(PREFIX),--prefix $(PREFIX))
	@if dpkg-query -W -f='$${Status}' libkf5kio-dev 2>/dev/null | grep -q "install ok installed"; then \
	    $(MAKE) dolphin && cmake --install $(DOLPHIN_BUILD); \
	fi

# The Debian package loomscope_<version>-1_amd64.deb, in the build folder.
deb: build
	cd $(BUILD) && cpack -G DEB

# Dolphin's thumbnail plugin, a Qt 5 / KDE Frameworks 5 project of its own (needs
# libkf5kio-dev and extra-cmake-modules); `make install` adds it when they are installed.
dolphin:
	cmake -S integration/dolphin -B $(DOLPHIN_BUILD) -G Ninja $(if $(PREFIX),-DCMAKE_INSTALL_PREFIX=$(PREFIX))
	cmake --build $(DOLPHIN_BUILD) -j $(JOBS)

clean:
	rm -rf $(BUILD) build-fuzz $(DOLPHIN_BUILD)
