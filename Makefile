# The front door: `make run` and `make test` install what is missing, build and go.

BUILD_DIR ?= build
SANITIZE_DIR ?= build-sanitize
FUZZ_DIR ?= build-fuzz
TSAN_DIR ?= build-tsan
JOBS ?= $(shell nproc)
# How long `make fuzz` runs each fuzz target.
FUZZ_SECONDS ?= 600

# A sanitizer report ends the test that caused it, with a failure.
SANITIZER_ENV := ASAN_OPTIONS=abort_on_error=1:detect_leaks=1:strict_string_checks=1 \
                 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
                 LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp
# Likewise a data race or a lock-order inversion, with both stacks of the inversion shown. The
# longest history keeps the earlier access's stack for a report: the suppressions, Qt's own code
# alone (tests/tsan.supp), are matched against it, and a report without it cannot be judged.
TSAN_FLAGS := halt_on_error=1:second_deadlock_stack=1:history_size=7
TSAN_ENV := TSAN_OPTIONS=$(TSAN_FLAGS):suppressions=$(CURDIR)/tests/tsan.supp
# The ThreadSanitizer stage runs the tests labelled "threads". It builds the whole tree: the few
# programs without such tests add under a minute to a cold build, and a test program left unbuilt
# would drop its labelled tests without a word. A test that starts threads gets the label where it
# is added to CTest, in its tests/*/CMakeLists.txt:
#   gtest_discover_tests(TARGET ... PROPERTIES LABELS threads) for a whole test program, or, for
#   some of its tests, a second gtest_discover_tests(TARGET TEST_FILTER ... PROPERTIES LABELS
#   threads) beside a first one that filters the same tests out, as tests/ui/CMakeLists.txt does;
#   set_tests_properties(NAME PROPERTIES LABELS threads) for a plain add_test.
# ccache, where there is one, spares a rebuild of the sanitized tree what it compiled before.
CCACHE_LAUNCHER := $(if $(shell command -v ccache),-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)

# Debian packages the build, the tests and the benchmarks need: qt6-svg-dev lets quillon-chart
# write SVG pictures; locales gives localedef its character maps, for the test that makes a
# decimal-comma locale; clang-14 and its runtime build the fuzz targets; dpkg-dev (dpkg-shlibdeps) and file let CPack work out the package's library
# dependencies, and desktop-file-utils checks its desktop entry; python3 runs the mutation sample
# and ccache spares it the compiles it has done before; dbus-daemon gives the notification test a
# private session bus.
PACKAGES := cmake make g++ pkg-config qt6-base-dev qt6-svg-dev qt6-qpa-plugins libgl-dev \
            libgtest-dev libgmock-dev libbenchmark-dev fonts-dejavu-core locales \
            clang-14 libclang-rt-14-dev dpkg-dev file desktop-file-utils python3 ccache dbus-daemon

.PHONY: all deps configure build test test-release test-sanitize test-thread test-fuzz fuzz \
        mutants run install package bench format clean

all: build

# Where Debian's package tools are missing, deps names what the build needs and leaves the
# installing to the system's own package manager; the build then goes on with what is there.
deps:
	@if ! command -v dpkg-query >/dev/null 2>&1 || ! command -v apt-get >/dev/null 2>&1; then \
	  echo "make deps: no dpkg-query or apt-get here, so nothing is installed. Quillon needs:"; \
	  echo "  to build: Qt 6 Base and Qt 6 SVG with their development files, a C++20 compiler"; \
	  echo "            (GCC 12 builds it on Debian 12), CMake 3.25 or later, make, pkg-config"; \
	  echo "  to test:  GoogleTest, Google Mock and the D-Bus daemon; to benchmark: Google Benchmark"; \
	  echo "            (without it: make CMAKE_FLAGS=-DQUILLON_BENCHMARKS=OFF ...)"; \
	  echo "Going on with what is installed."; \
	  exit 0; \
	fi; \
	missing=""; \
	for p in $(PACKAGES); do \
	  dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q 'install ok installed' || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	  echo "Installing:$$missing"; \
	  if [ "$$(id -u)" -eq 0 ]; then sudo=""; else sudo="sudo"; fi; \
	  $$sudo apt-get update -qq && \
	  DEBIAN_FRONTEND=noninteractive $$sudo apt-get install -y -qq $$missing; \
	fi

# Extra settings for the first configure, such as -DQUILLON_BENCHMARKS=OFF.
CMAKE_FLAGS ?=
configure: deps
	@test -f $(BUILD_DIR)/CMakeCache.txt || cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=Release \
	    $(CMAKE_FLAGS)

build: configure
	cmake --build $(BUILD_DIR) -j $(JOBS)

# Every test three times over: the release build, the whole suite under AddressSanitizer and
# UndefinedBehaviorSanitizer, and a short run of each fuzz target on its seed corpus; and the
# tests that start threads once more under ThreadSanitizer.
test: test-release test-sanitize test-thread test-fuzz

test-release: build
	cd $(BUILD_DIR) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

test-sanitize: deps
	@test -f $(SANITIZE_DIR)/CMakeCache.txt || cmake -S . -B $(SANITIZE_DIR) \
	    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUILLON_SANITIZE=ON -DQUILLON_BENCHMARKS=OFF
	cmake --build $(SANITIZE_DIR) -j $(JOBS)
	cd $(SANITIZE_DIR) && QT_QPA_PLATFORM=offscreen $(SANITIZER_ENV) \
	    ctest --output-on-failure -j $(JOBS)

# One test at a time: each starts threads of its own, and under the tool's slowdown the follow
# test's window, which must never wait a second, needs the processors to itself.
test-thread: deps
	@test -f $(TSAN_DIR)/CMakeCache.txt || cmake -S . -B $(TSAN_DIR) \
	    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUILLON_TSAN=ON -DQUILLON_BENCHMARKS=OFF \
	    $(CCACHE_LAUNCHER)
	cmake --build $(TSAN_DIR) -j $(JOBS)
	cd $(TSAN_DIR) && QT_QPA_PLATFORM=offscreen $(TSAN_ENV) \
	    ctest --output-on-failure -L threads --no-tests=error

$(FUZZ_DIR)/CMakeCache.txt:
	cmake -S . -B $(FUZZ_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUILLON_FUZZ=ON \
	    -DCMAKE_CXX_COMPILER=clang++-14

test-fuzz: deps $(FUZZ_DIR)/CMakeCache.txt
	cmake --build $(FUZZ_DIR) -j $(JOBS)
	cd $(FUZZ_DIR) && ctest --output-on-failure -j $(JOBS)

# Long fuzzing by hand: each target FUZZ_SECONDS, two at a time. What a target finds stays in
# fuzz-work/NAME, with its log beside it and any failing input as fuzz-work/NAME-crash-... (or
# -timeout-..., -leak-...).
fuzz: deps $(FUZZ_DIR)/CMakeCache.txt
	cmake --build $(FUZZ_DIR) -j $(JOBS)
	@ls fuzz/corpus | xargs -P 2 -I{} sh -c 'mkdir -p fuzz-work/{} && \
	    $(FUZZ_DIR)/fuzz/{} fuzz-work/{} fuzz/corpus/{} -max_total_time=$(FUZZ_SECONDS) \
	    -timeout=10 -rss_limit_mb=2048 -artifact_prefix=fuzz-work/{}- -print_final_stats=1 \
	    > fuzz-work/{}.log 2>&1; \
	    echo "{}: exit $$?, $$(grep -c . fuzz-work/{}.log) log lines"'

# How many one-line faults in the product code the release suite catches: a sample of MUTANTS
# mutations chosen with SEED, each built and tested in build-mutants/. REPLAY=FILE runs a saved
# sample instead (mutants/sample-*.jsonl), found in the code as it is now.
MUTANTS ?= 40
SEED ?= 1
REPLAY ?=
mutants: deps
	python3 mutants/mutants.py $(if $(REPLAY),--replay $(REPLAY),--mutants $(MUTANTS) --seed $(SEED))

# Without a display the program itself says so in one line.
run: build
	@$(BUILD_DIR)/bin/quillon

# The program, its sample bar file, a desktop entry and its icon, under CMake's install prefix
# (/usr/local unless PREFIX says otherwise).
PREFIX ?= /usr/local
install: build
	@if [ "$$(id -u)" -eq 0 ]; then sudo=""; else sudo="sudo"; fi; \
	$$sudo cmake --install $(BUILD_DIR) --prefix $(PREFIX)

# The Debian package of the same files under /usr: $(BUILD_DIR)/quillon_VERSION_ARCH.deb.
package: build
	cd $(BUILD_DIR) && cpack -G DEB

bench: build
	@for b in $(BUILD_DIR)/bench/*/*_bench; do [ -x "$$b" ] && "$$b" --benchmark_repetitions=5 --benchmark_report_aggregates_only=true; done

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD_DIR) $(SANITIZE_DIR) $(TSAN_DIR) $(FUZZ_DIR)
