# sbay32: the media station and its panel library, built with MinGW and run under Wine.
BUILD ?= build

.PHONY: all deps build test fuzz run bench dist clean

all: build

deps:
	@sh scripts/install-deps

# The shipped 32-bit release tree: build/sbay32.exe and build/panekit32.dll.
build: deps
	@sh scripts/build-release $(BUILD) i686

# The test programs are built in a tree of their own (see scripts/build-tests)
# beside the release tree that this machine runs. The readers' fuzz targets
# replay their corpora first (scripts/fuzz-readers).
test: build
	@sh scripts/fuzz-readers replay $(BUILD)/fuzz && \
	    dir=$$(sh scripts/runnable-build $(BUILD)) && sh scripts/build-tests "$$dir" $(BUILD) && \
	    sh scripts/run-tests "$$dir"

# Each reader of outside bytes under the fuzzer for FUZZ_SECONDS seconds.
FUZZ_SECONDS ?= 60
fuzz: deps
	@sh scripts/fuzz-readers run $(BUILD)/fuzz $(FUZZ_SECONDS)

# Builds only what it runs.
run: deps
	@dir=$$(sh scripts/runnable-build $(BUILD) sbay32 panekit32 close_station) && \
	    sh scripts/run-station "$$dir"

bench: build
	@dir=$$(sh scripts/runnable-build $(BUILD)) && sh scripts/run-bench "$$dir"

# What a Windows user downloads, from the 32-bit build as it ships:
# $(BUILD)/dist/sbay32-VERSION.zip and sbay32-VERSION-setup.exe.
dist: build
	@sh dist/make-dist $(BUILD) $(BUILD)/dist

clean:
	rm -rf $(BUILD)
