# make run   installs what is missing, builds, starts Tendra
# make test  installs what is missing, builds, runs every test
# make windows  builds tendra.exe, the Windows program, and prints where it is
.PHONY: all deps configure build run test windows clean

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

windows: configure
	@cmake --build build --target tendra_wine
	@echo "$(CURDIR)/build/wine/app/win32/tendra.exe"

clean:
	rm -rf build build-core
