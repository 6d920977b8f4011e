# make run   installs what is missing, builds, starts Tendra
# make test  installs what is missing, builds, runs every test
.PHONY: all deps configure build run test clean

all: build

deps:
	@scripts/install-deps

configure: deps
	@cmake --preset default >/dev/null

build: configure
	@cmake --build --preset default

run: build
	@scripts/run-tendra

test: build
	@ctest --preset default

clean:
	rm -rf build build-core
