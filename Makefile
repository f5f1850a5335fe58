# Front door: drives the CMake presets. `make test` is what CI runs.
SHELL := /bin/bash
JOBS ?= $(shell nproc)

# Debian packages the project builds, tests and packages with.
DEB_PACKAGES := cmake ninja-build g++ make pkg-config binutils file \
  googletest libgtest-dev libgmock-dev libbenchmark-dev \
  libfreetype-dev libharfbuzz-dev libfontconfig-dev libpng-dev fonts-dejavu-core \
  libcli11-dev nlohmann-json3-dev \
  clang libclang-rt-14-dev \
  g++-mingw-w64-x86-64 wine64 \
  lld llvm openssl

SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)

.PHONY: deps build test tsan fuzz preview release bench bench-effect windows macos package clean

# Installs only what is missing; refreshes the package lists first when
# anything is (a fresh machine may have none). Debian's npm only where no npm
# came with Node.js. Then Zig, for the macOS build, into build/toolchains.
deps:
	@missing=$$(for p in $(DEB_PACKAGES); do \
	    dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q 'install ok installed' || echo $$p; done; \
	    command -v npm >/dev/null || echo npm); \
	if [ -n "$$missing" ]; then \
	  echo "Installing:" $$missing; \
	  $(SUDO) env DEBIAN_FRONTEND=noninteractive apt-get update -qq && \
	  $(SUDO) env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq $$missing; \
	fi
	packaging/toolchains/install-zig.sh build/toolchains

build: deps
	cmake --preset dev
	cmake --build --preset dev -j $(JOBS)

# The optimised build is what `make preview` runs, and GCC warns differently
# at -O3, so it must build too. The ThreadSanitizer run goes before the whole
# suite so that the suite's summary is the last thing printed.
test: build release
	$(MAKE) --no-print-directory tsan
	ctest --preset dev -j $(JOBS)

# ThreadSanitizer: a separate small build of the threaded-frames test and
# what it needs (the plug-in, the stand-in host).
tsan: deps
	cmake --preset tsan
	cmake --build --preset tsan -j $(JOBS)
	ctest --preset tsan

# libFuzzer with clang, ASan and UBSan: each target for FUZZ_SECONDS (default
# 60) over the corpus in fuzz/corpus/<target>; new inputs collect in
# build/fuzz/corpus-<target>, crashes in build/fuzz/.
FUZZ_SECONDS ?= 60
fuzz: deps
	cmake --preset fuzz
	cmake --build --preset fuzz -j $(JOBS)
	@for t in outlines scene; do \
	  mkdir -p build/fuzz/corpus-$$t && \
	  build/fuzz/fuzz/fuzz_$$t -max_total_time=$(FUZZ_SECONDS) -rss_limit_mb=4096 -print_final_stats=1 \
	    -artifact_prefix=build/fuzz/ build/fuzz/corpus-$$t fuzz/corpus/$$t || exit 1; \
	done

release: deps
	cmake --preset release
	cmake --build --preset release -j $(JOBS)

preview: release
	@if [ -x build/release/minihost/quillarray-preview ]; then \
	  build/release/minihost/quillarray-preview $(ARGS); \
	else \
	  echo "Built the plug-in: $$(ls build/release/Quillarray.*)"; \
	fi

bench: release
	@for b in build/release/bench/bench_* build/release/bench/*/bench_*; do [ -x "$$b" ] && "$$b"; done

# The frame benchmarks alone, as docs/performance.md reports them.
bench-effect: release
	build/release/bench/effect/bench_effect --benchmark_counters_tabular=true $(ARGS)

# The Windows x64 plug-in, cross-built with mingw-w64: build/windows/Quillarray.aex.
# (`make test` builds the same .aex inside the dev build and runs it under Wine.)
windows: deps
	cmake --preset windows
	cmake --build --preset windows -j $(JOBS)

# The macOS x86-64 bundle, cross-built with Zig's clang and ld64.lld:
# build/macos/Quillarray.plugin. (`make test` builds it inside the dev build
# too, in build/dev/macos/, and inspects it.)
macos: deps
	cmake --preset macos
	cmake --build --preset macos -j $(JOBS)

# One ZIP of both plug-ins and the install note, in build/package/.
package: windows macos
	cmake -DBUILDS="build/windows;build/macos" -DOUT_DIR=build/package -P packaging/package.cmake

clean:
	rm -rf build
