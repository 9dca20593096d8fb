# Front door for people and CI: every target installs what is missing first.
#   make run        build and start Skerry
#   make test       build and run every test
#   make test-asan  the same tests built with AddressSanitizer and UndefinedBehaviorSanitizer
#   make test-windows  the Qt-free library, skerry-batch and their tests built for Windows
#                   (MinGW-w64) and run under Wine; skerry-batch.exe compared with skerry-batch
#   make fuzz       runs each libFuzzer program for FUZZ_SECONDS seconds
#   make monkey     the sanitizer build of the window under seeded random events on a virtual
#                   display for SECONDS seconds (60), from SEED (from the clock when not given)
#   make bench      optimised build, then every benchmark beside its peer in one table
#   make accuracy   the suggested edits judged on generated scans, the figures beside their
#                   targets; FAILURES=DIR writes the scans that miss a target, drawn, into DIR
#   make tidy       Clang build, then clang-tidy over the program's sources; fails on a warning
#   make package    release build and the Debian package build-release/package/skerry_*.deb
# WERROR=ON turns compiler warnings into errors (CI builds that way).

JOBS ?= $(shell nproc 2>/dev/null || echo 2)
FUZZ_SECONDS ?= 60
SECONDS ?= 60
SEED ?= $(shell date +%s)
WERROR ?= OFF

.PHONY: all deps build run test build-asan test-asan build-windows test-windows build-fuzz fuzz \
	monkey bench accuracy build-clang tidy package clean format

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

# The Linux skerry-batch is built too: the Windows one is compared with it.
build-windows:
	@tools/install-deps.sh g++-mingw-w64-x86-64-posix wine wine64 googletest
	cmake --preset dev -DSKERRY_WERROR=$(WERROR)
	cmake --build --preset dev -j $(JOBS) --target skerry-batch
	cmake --preset windows -DSKERRY_WERROR=$(WERROR)
	cmake --build --preset windows -j $(JOBS)

test-windows: build-windows
	ctest --preset windows -j $(JOBS)

build-fuzz:
	@tools/install-deps.sh clang libclang-rt-14-dev
	cmake --preset fuzz
	cmake --build --preset fuzz -j $(JOBS)

fuzz: build-fuzz
	tools/run-fuzz.sh $(FUZZ_SECONDS)

# The exerciser needs only the window program of the sanitizer build, and Xvfb.
monkey: deps
	@tools/install-deps.sh xvfb
	cmake --preset asan -DSKERRY_WERROR=$(WERROR)
	cmake --build --preset asan -j $(JOBS) --target skerry-monkey
	tools/run-monkey.py --seconds $(SECONDS) --seed $(SEED)

# The peers run on Debian's own Python, which has the numpy and matplotlib packages.
bench:
	@tools/install-deps.sh python3-numpy python3-matplotlib
	cmake --preset bench
	cmake --build --preset bench -j $(JOBS)
	/usr/bin/python3 bench/run-all.py

# Plotting the failing scans needs Debian's Python with matplotlib.
accuracy:
	@tools/install-deps.sh $(if $(FAILURES),python3-matplotlib)
	cmake --preset dev -DSKERRY_WERROR=$(WERROR)
	cmake --build --preset dev -j $(JOBS) --target accuracy-report
	build/bin/accuracy-report $(if $(FAILURES),--failures $(FAILURES))

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
	rm -rf build build-asan build-windows build-fuzz build-bench build-clang build-release
