# Front door: drives the CMake presets. `make test` is what CI runs.
SHELL := /bin/bash
JOBS ?= $(shell nproc)

# Debian packages: what the preview tool needs, and what everything else
# (tests, benchmarks, fuzzing, the Windows build) needs on top.
PREVIEW_PACKAGES := cmake ninja-build g++ make pkg-config \
  libfreetype-dev libharfbuzz-dev libfontconfig-dev libpng-dev fonts-dejavu-core \
  libcli11-dev nlohmann-json3-dev libhwy-dev
DEB_PACKAGES := $(PREVIEW_PACKAGES) binutils file \
  googletest libgtest-dev libgmock-dev libbenchmark-dev \
  clang libclang-rt-14-dev \
  g++-mingw-w64-x86-64 wine64 \
  lld llvm openssl python3 qemu-user-static clang-format

NPM_PACKAGE := $(shell command -v npm >/dev/null || echo npm)
SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)

.PHONY: deps preview-deps preview-build build test tsan fuzz preview pictures release bench bench-effect windows macos package clean format format-check

# Installs only what is missing; refreshes the package lists first when
# anything is (a fresh machine may have none). apt-get's own output goes to
# build/apt.log and is shown only when it fails. Debian's npm only where no
# npm came with Node.js (whose package then conflicts with it).
define install_missing
	@missing=$$(for p in $(1); do \
	    dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q 'install ok installed' || echo $$p; done); \
	if [ -n "$$missing" ]; then \
	  echo "Installing Debian packages:" $$missing; \
	  mkdir -p build; \
	  if { $(SUDO) env DEBIAN_FRONTEND=noninteractive apt-get update -qq && \
	       $(SUDO) env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq $$missing; } > build/apt.log 2>&1; then \
	    echo "Installed $$(echo $$missing | wc -w) package(s) (details in build/apt.log)"; \
	  else \
	    tail -n 20 build/apt.log; echo "Package installation failed; the whole log is build/apt.log"; exit 1; \
	  fi; \
	fi
endef

# Then Zig, for the macOS build, into build/toolchains, and the real signed
# Mac binaries the signature verifier is tested on, into build/signature-samples.
deps:
	$(call install_missing,$(DEB_PACKAGES) $(NPM_PACKAGE))
	packaging/toolchains/install-zig.sh build/toolchains
	packaging/tools/fetch-signature-samples.sh build/signature-samples

preview-deps:
	$(call install_missing,$(PREVIEW_PACKAGES))

build: deps
	cmake --preset dev
	cmake --build --preset dev -j $(JOBS)

# The optimised build is what `make preview` runs, and GCC warns differently
# at -O3, so it must build too. The ThreadSanitizer run goes before the whole
# suite so that the suite's summary is the last thing printed.
test: format-check build release
	$(MAKE) --no-print-directory tsan
	ctest --preset dev -j $(JOBS)

# Every C and C++ file in the format .clang-format gives, checked with the
# clang-format make deps installs (Debian's, 14); .clang-format-ignore lists
# generated files. `make format` rewrites what differs.
CLANG_FORMAT ?= clang-format
FORMAT_FILES = $(shell git ls-files '*.c' '*.cpp' '*.h' | grep -vxF -f .clang-format-ignore)
format-check:
	$(call install_missing,clang-format)
	@$(CLANG_FORMAT) --dry-run --Werror $(FORMAT_FILES) && \
	  echo "Format: $(words $(FORMAT_FILES)) files as .clang-format says ($$($(CLANG_FORMAT) --version))"

format:
	$(call install_missing,clang-format)
	$(CLANG_FORMAT) -i $(FORMAT_FILES)

# ThreadSanitizer: a separate small build of the threaded-frames test and
# what it needs (the plug-in, the stand-in host).
tsan: deps
	cmake --preset tsan
	cmake --build --preset tsan -j $(JOBS)
	ctest --preset tsan

# libFuzzer with clang, ASan and UBSan: each target for FUZZ_RUNS inputs
# (default 10^6) or FUZZ_SECONDS (default 0: no limit), whichever ends first,
# over the corpus in fuzz/corpus/<target>; new inputs collect in
# build/fuzz/corpus-<target>, crashes in build/fuzz/. See docs/fuzzing.md.
FUZZ_RUNS ?= 1000000
FUZZ_SECONDS ?= 0
fuzz: deps
	cmake --preset fuzz
	cmake --build --preset fuzz -j $(JOBS)
	@for t in outlines scene; do \
	  mkdir -p build/fuzz/corpus-$$t && \
	  build/fuzz/fuzz/fuzz_$$t -runs=$(FUZZ_RUNS) -max_total_time=$(FUZZ_SECONDS) -rss_limit_mb=4096 \
	    -print_final_stats=1 -artifact_prefix=build/fuzz/ build/fuzz/corpus-$$t fuzz/corpus/$$t || exit 1; \
	done

release: deps
	cmake --preset release
	cmake --build --preset release -j $(JOBS)

# The preview tool and the plug-in only, optimised, with only the packages
# they need: the release preset without tests and benchmarks, in build/preview.
PREVIEW_TOOL := build/preview/tools/quillarray-preview
preview-build: preview-deps
	@cmake --preset release -B build/preview -DQA_BUILD_TESTS=OFF > build/preview-configure.log || \
	  { cat build/preview-configure.log; exit 1; }
	cmake --build build/preview -j $(JOBS) --target quillarray-preview

preview: preview-build
	$(PREVIEW_TOOL) $(ARGS)

# The README's pictures (docs/pictures/), made by docs/make_pictures.sh.
pictures: preview-build
	docs/make_pictures.sh $(PREVIEW_TOOL)

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

# The macOS bundle, cross-built with Zig's clang and ld64.lld: an x86_64 and
# an arm64 slice joined by llvm-lipo, ad-hoc signed by packaging/tools/macos_sign.py:
# build/macos/Quillarray.plugin. (`make test` builds it inside the dev build
# too, in build/dev/macos/, and inspects and verifies it.)
macos: deps
	cmake --preset macos
	cmake --build --preset macos -j $(JOBS)

# One ZIP of both plug-ins (the signed bundle as it is) and the install note,
# in build/package/.
package: windows macos
	cmake -DBUILDS="$(CURDIR)/build/windows;$(CURDIR)/build/macos" -DOUT_DIR=$(CURDIR)/build/package -P packaging/package.cmake

clean:
	rm -rf build
