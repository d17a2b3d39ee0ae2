# The front door: `make run` and `make test` install what is missing, build and go.

BUILD_DIR ?= build
JOBS ?= $(shell nproc)

# Debian packages the build, the tests and the benchmarks need.
PACKAGES := cmake make g++ pkg-config qt6-base-dev qt6-qpa-plugins libgl-dev \
            libgtest-dev libgmock-dev libbenchmark-dev fonts-dejavu-core

.PHONY: all deps configure build test run bench format clean

all: build

deps:
	@missing=""; \
	for p in $(PACKAGES); do \
	  dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q 'install ok installed' || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	  echo "Installing:$$missing"; \
	  if [ "$$(id -u)" -eq 0 ]; then sudo=""; else sudo="sudo"; fi; \
	  $$sudo apt-get update -qq && \
	  DEBIAN_FRONTEND=noninteractive $$sudo apt-get install -y -qq $$missing; \
	fi

configure: deps
	@test -f $(BUILD_DIR)/CMakeCache.txt || cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=Release

build: configure
	cmake --build $(BUILD_DIR) -j $(JOBS)

test: build
	cd $(BUILD_DIR) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

run: build
	@echo "The desktop program is not there yet; 'make test' builds and tests what is."

bench: build
	@for b in $(BUILD_DIR)/bench/*/*_bench; do [ -x "$$b" ] && "$$b" --benchmark_repetitions=5 --benchmark_report_aggregates_only=true; done

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD_DIR)
