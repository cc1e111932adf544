# lumora: make demo, make test. Each target first installs what a fresh
# Debian 12 machine lacks (with apt-get, saying what).

MAKEFLAGS += --no-print-directory

NATIVE_PACKAGES := cmake make g++ googletest libgtest-dev libbenchmark-dev
WINDOWS_PACKAGES := g++-mingw-w64-x86-64 g++-mingw-w64-i686 binutils-mingw-w64 wine wine64 socat icoutils

.PHONY: all deps deps-windows build windows windows-x64 windows-x86 test test-linux test-windows demo bench clean

all: build

deps:
	@scripts/ensure-packages.sh $(NATIVE_PACKAGES)

deps-windows:
	@scripts/ensure-packages.sh $(NATIVE_PACKAGES) $(WINDOWS_PACKAGES)

# Native build: build/linux/bin (lumora, liblumora.so, the drivers as NAME.so).
build: deps
	@cmake --preset linux >/dev/null
	@cmake --build --preset linux -j2

# Both Windows builds: build/windows-x64/bin and build/windows-x86/bin.
windows: windows-x64 windows-x86

windows-x64: deps-windows
	@cmake --preset windows-x64 >/dev/null
	@cmake --build --preset windows-x64 -j2

windows-x86: deps-windows
	@cmake --preset windows-x86 >/dev/null
	@cmake --build --preset windows-x86 -j2

# Native tests, then the x64 Windows tests under Wine, then the DLLs of both
# Windows builds inspected (32-bit programs cannot run on these machines).
test: test-linux test-windows

test-linux: build
	@ctest --preset linux

test-windows: windows
	@ctest --preset windows-x64
	@tests/wine/check-dlls.sh build/windows-x64/bin
	@tests/wine/check-dlls.sh build/windows-x86/bin

demo: build
	@scripts/demo.sh build/linux/bin

bench: build
	@build/linux/bin/plover_bench

clean:
	rm -rf build
