# sbay32: the media station and its panel library, built with MinGW and run under Wine.
BUILD ?= build
TOOLCHAIN := cmake/mingw-i686.cmake

.PHONY: all deps build test run bench dist clean

all: build

deps:
	@sh scripts/install-deps

build: deps
	@cmake -S . -B $(BUILD) -DCMAKE_TOOLCHAIN_FILE=$(TOOLCHAIN) >/dev/null
	@cmake --build $(BUILD) -j2 -- --no-print-directory

test: build
	@dir=$$(sh scripts/runnable-build $(BUILD)) && sh scripts/run-tests "$$dir"

run: build
	@dir=$$(sh scripts/runnable-build $(BUILD)) && sh scripts/run-station "$$dir"

bench: build
	@dir=$$(sh scripts/runnable-build $(BUILD)) && sh scripts/run-bench "$$dir"

# What a Windows user downloads, from the 32-bit build as it ships:
# $(BUILD)/dist/sbay32-VERSION.zip and sbay32-VERSION-setup.exe.
dist: build
	@sh dist/make-dist $(BUILD) $(BUILD)/dist

clean:
	rm -rf $(BUILD)
