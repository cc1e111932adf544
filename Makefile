# lumora: make demo, make test. Each target first installs what a fresh
# Debian 12 machine lacks (with apt-get, saying what).

MAKEFLAGS += --no-print-directory

NATIVE_PACKAGES := cmake make g++ googletest libgtest-dev libbenchmark-dev
WINDOWS_PACKAGES := g++-mingw-w64-x86-64 g++-mingw-w64-i686 binutils-mingw-w64 wine wine64 socat icoutils \
  fonts-liberation xvfb x11-apps netpbm
# valgrind for the end-to-end suite, clang and its libFuzzer for the fuzz targets.
CHECK_PACKAGES := valgrind clang libclang-rt-14-dev
FUZZ_SECONDS ?= 300

.PHONY: all deps deps-windows deps-checks build windows windows-x64 windows-x86 test test-linux test-asan \
	test-valgrind test-fuzz test-windows fuzz fuzz-build demo demo-window bench clean

all: build

deps:
	@scripts/ensure-packages.sh $(NATIVE_PACKAGES)

deps-windows:
	@scripts/ensure-packages.sh $(NATIVE_PACKAGES) $(WINDOWS_PACKAGES)

deps-checks:
	@scripts/ensure-packages.sh $(NATIVE_PACKAGES) $(CHECK_PACKAGES)

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

# Native tests; the native suites again under AddressSanitizer and
# UndefinedBehaviorSanitizer; the end-to-end suite under valgrind; a short run
# of each fuzz target; then the x64 Windows tests under Wine, and the DLLs of
# both Windows builds inspected (32-bit programs cannot run on these machines).
test: test-linux test-asan test-valgrind test-fuzz test-windows

test-linux: build
	@ctest --preset linux

test-asan: deps
	@cmake --preset linux-asan >/dev/null
	@cmake --build --preset linux-asan -j2
	@ctest --preset linux-asan

test-valgrind: build deps-checks
	@scripts/valgrind-e2e.sh build/linux/bin

test-fuzz: fuzz-build
	@scripts/fuzz.sh 10

# Each fuzz target for FUZZ_SECONDS (default 300) seconds.
fuzz: fuzz-build
	@scripts/fuzz.sh $(FUZZ_SECONDS)

fuzz-build: deps-checks
	@cmake --preset linux-fuzz >/dev/null
	@cmake --build --preset linux-fuzz -j2

test-windows: windows
	@ctest --preset windows-x64
	@tests/wine/check-dlls.sh build/windows-x64/bin
	@tests/wine/check-dlls.sh build/windows-x86/bin

demo: build
	@scripts/demo.sh build/linux/bin

# The simulated display's window under Wine on a virtual screen, saved as a
# picture: build/demo-window.png.
demo-window: windows-x64
	@scripts/demo-window.sh build/windows-x64/bin build/demo-window.png

bench: build
	@build/linux/bin/plover_bench
	@build/linux/bin/heron_bench
	@build/linux/bin/wren_bench
	@build/linux/bin/kestrel_bench
	@build/linux/bin/finch_bench

clean:
	rm -rf build
