# sbay32: the media station and its panel library, built with MinGW and run under Wine.
BUILD ?= build
TOOLCHAIN := cmake/mingw-i686.cmake

.PHONY: all deps build test run bench clean

all: build

deps:
	@sh scripts/install-deps

build: deps
	@cmake -S . -B $(BUILD) -DCMAKE_TOOLCHAIN_FILE=$(TOOLCHAIN) >/dev/null
	@cmake --build $(BUILD) -j2

test: build
	@sh scripts/run-tests $(BUILD)

run: build
	@sh scripts/run-station $(BUILD)

bench: build
	@sh scripts/run-bench $(BUILD)

clean:
	rm -rf $(BUILD)
