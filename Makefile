# Newcomer entry points: `make run` and `make test`. Both install missing
# Debian packages first, then configure and build as needed.

BUILD      ?= build
ASAN_BUILD ?= build-asan
FUZZ_BUILD ?= build-fuzz
JOBS       ?= $(shell nproc)
ARGS       ?=

DEB_PACKAGES := cmake ninja-build g++ clang pkg-config libgtest-dev libgmock-dev \
                libbenchmark-dev libgeos-dev libpolyclipping-dev libboost-dev \
                libnanoflann-dev libshp-dev
SUDO := $(shell [ "$$(id -u)" -eq 0 ] || echo sudo)

.PHONY: all deps build asan-build run test test-normal test-asan bench fuzz clean

all: build

deps:
	@missing=""; \
	for p in $(DEB_PACKAGES); do \
	  dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q 'install ok installed' || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	  echo "Installing missing Debian packages:$$missing"; \
	  $(SUDO) apt-get update -qq && \
	  $(SUDO) env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends $$missing; \
	fi

$(BUILD)/build.ninja: | deps
	cmake -S . -B $(BUILD) -G Ninja -DALLOTRIX_WERROR=ON

$(ASAN_BUILD)/build.ninja: | deps
	cmake -S . -B $(ASAN_BUILD) -G Ninja -DALLOTRIX_WERROR=ON -DALLOTRIX_SANITIZE=ON -DALLOTRIX_BENCH=OFF

build: deps $(BUILD)/build.ninja
	cmake --build $(BUILD) -j $(JOBS)

asan-build: deps $(ASAN_BUILD)/build.ninja
	cmake --build $(ASAN_BUILD) -j $(JOBS)

# The main job: the example program on the embedded polygon (ARGS="file" to
# measure a polygon read from a file of coordinates).
run: deps $(BUILD)/build.ninja
	cmake --build $(BUILD) -j $(JOBS) --target allotrix
	./$(BUILD)/apps/allotrix/allotrix $(ARGS)

test-normal: build
	cd $(BUILD) && ctest -j $(JOBS) --output-on-failure

test-asan: asan-build
	cd $(ASAN_BUILD) && ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
	  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 ctest -j $(JOBS) --output-on-failure

# Every test twice: in a normal build and under the sanitizers.
test: test-normal test-asan

# Side-by-side benchmarks against the reference libraries (release build).
bench: deps
	cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release
	cmake --build build-bench -j $(JOBS)
	@for b in build-bench/bench/*/bench_*; do [ -x "$$b" ] && "$$b" $(ARGS); done

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD) build-bench
