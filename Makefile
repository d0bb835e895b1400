# Thin wrapper over CMake: every target installs what is missing, configures and builds.
BUILD      ?= build
BUILD_TYPE ?= RelWithDebInfo
CMAKE_FLAGS ?=
JOBS       ?= $(shell nproc)
# Warnings are errors in a checkout; `make package` builds with them off, as a packager should.
WERROR     ?= ON
# `make fuzz`: the libFuzzer programs, built with clang in a folder of their own, each run this long.
FUZZ_BUILD   ?= build-fuzz
FUZZ_SECONDS ?= 30
# ccache, when the machine has it, makes rebuilds in several checkouts cheap.
LAUNCHER   := $(if $(shell command -v ccache),-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
export CCACHE_BASEDIR := $(CURDIR)
# ...and in another folder too: debug builds would otherwise hash the folder they run in.
export CCACHE_NOHASHDIR := 1

.PHONY: all deps configure build test run demo bench format clean fuzz package

all: build

deps:
	./scripts/install-deps

configure: deps
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) -DVETRA_WERROR=$(WERROR) \
	      $(LAUNCHER) $(CMAKE_FLAGS)

build: configure
	cmake --build $(BUILD) -j $(JOBS)

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

run: build
	BUILD=$(BUILD) ./scripts/run

demo: build
	BUILD=$(BUILD) ./scripts/demo

# The two Debian packages, in $(BUILD)/.
package: WERROR = OFF
package: build
	cmake --build $(BUILD) --target package

bench: build
	./scripts/bench $(BUILD)

fuzz: deps
	cmake -S . -B $(FUZZ_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	      -DCMAKE_CXX_COMPILER=clang++ -DVETRA_FUZZ=ON -DVETRA_WITH_TESTS=OFF $(LAUNCHER)
	cmake --build $(FUZZ_BUILD) -j $(JOBS) --target fuzzers
	./scripts/fuzz $(FUZZ_BUILD) $(FUZZ_SECONDS)

format:
	find bootstrap claims bench -name '*.cpp' -o -name '*.h' | xargs -r clang-format -i

clean:
	rm -rf $(BUILD)
