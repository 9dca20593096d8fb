# Front door for people and CI: every target installs what is missing first.
#   make run        build and start Skerry
#   make test       build and run every test
#   make test-asan  the same tests built with AddressSanitizer and UndefinedBehaviorSanitizer

JOBS ?= $(shell nproc 2>/dev/null || echo 2)

.PHONY: all deps build run test build-asan test-asan clean format

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

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf build build-asan
