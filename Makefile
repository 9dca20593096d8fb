# Front door for people and CI: every target installs what is missing first.
#   make run        build and start Skerry
#   make test       build and run every test
#   make test-asan  the same tests built with AddressSanitizer and UndefinedBehaviorSanitizer
#   make fuzz       runs each libFuzzer program for FUZZ_SECONDS seconds
#   make bench      optimised build, then every benchmark beside its peer in one table
#   make tidy       Clang build, then clang-tidy over the program's sources; fails on a warning
#   make package    release build and the Debian package build-release/package/skerry_*.deb
# WERROR=ON turns compiler warnings into errors (CI builds that way).

JOBS ?= $(shell nproc 2>/dev/null || echo 2)
FUZZ_SECONDS ?= 60
WERROR ?= OFF

.PHONY: all deps build run test build-asan test-asan build-fuzz fuzz bench build-clang tidy \
	package clean format

all: build

deps:
	@tools/install-deps.sh

build: deps
	cmake --preset dev -DSKERRY_WERROR=$(WERROR)
	cmake --build --preset dev -j $(JOBS)

# Only the two programs, so that a first start does not wait for the tests and benchmarks.
run: deps
	cmake --preset dev -DSKERRY_WERROR=$(WERROR)
	cmake --build --preset dev -j $(JOBS) --target skerry skerry-batch
	build/bin/skerry

test: build
	ctest --preset dev -j $(JOBS)

build-asan: deps
	cmake --preset asan -DSKERRY_WERROR=$(WERROR)
	cmake --build --preset asan -j $(JOBS)

test-asan: build-asan
	ctest --preset asan -j $(JOBS)

build-fuzz:
	@tools/install-deps.sh clang libclang-rt-14-dev
	cmake --preset fuzz
	cmake --build --preset fuzz -j $(JOBS)

fuzz: build-fuzz
	tools/run-fuzz.sh $(FUZZ_SECONDS)

# The peers run on Debian's own Python, which has the numpy and matplotlib packages.
bench:
	@tools/install-deps.sh python3-numpy python3-matplotlib
	cmake --preset bench
	cmake --build --preset bench -j $(JOBS)
	/usr/bin/python3 bench/run-all.py

build-clang:
	@tools/install-deps.sh clang
	cmake --preset clang -DSKERRY_WERROR=$(WERROR)
	cmake --build --preset clang -j $(JOBS)

tidy: build-clang
	@tools/install-deps.sh clang-tidy
	tools/run-tidy.sh build-clang $(JOBS)

# dpkg-shlibdeps (dpkg-dev) finds the libraries the package depends on; it needs file.
package:
	@tools/install-deps.sh dpkg-dev file
	cmake --preset release
	cmake --build --preset release -j $(JOBS)
	cd build-release && cpack
	@ls build-release/package/*.deb

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf build build-asan build-fuzz build-bench build-clang build-release
