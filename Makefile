# Front door for people and CI: every target installs what is missing first.
#   make run        build and start Skerry
#   make test       build and run every test
#   make test-asan  the same tests built with AddressSanitizer and UndefinedBehaviorSanitizer
#   make fuzz       runs each libFuzzer program for FUZZ_SECONDS seconds

JOBS ?= $(shell nproc 2>/dev/null || echo 2)
FUZZ_SECONDS ?= 60

.PHONY: all deps build run test build-asan test-asan build-fuzz fuzz clean format

all: build

deps:
	@tools/install-deps.sh

build: deps
	cmake --preset dev
	cmake --build --preset dev -j $(JOBS)

run: build
	build/bin/skerry

test: build
	ctest --preset dev -j $(JOBS)

build-asan: deps
	cmake --preset asan
	cmake --build --preset asan -j $(JOBS)

test-asan: build-asan
	ctest --preset asan -j $(JOBS)

build-fuzz:
	@tools/install-deps.sh clang libclang-rt-14-dev
	cmake --preset fuzz
	cmake --build --preset fuzz -j $(JOBS)

fuzz: build-fuzz
	tools/run-fuzz.sh $(FUZZ_SECONDS)

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf build build-asan build-fuzz
