# Newcomer entry points: `make run` and `make test`. Both install missing
# Debian packages first, then configure and build as needed.

BUILD      ?= build
ASAN_BUILD ?= build-asan
FUZZ_BUILD ?= build-fuzz
JOBS       ?= $(shell nproc)
ARGS       ?=

DEB_PACKAGES := cmake ninja-build g++ clang libclang-rt-dev pkg-config libgtest-dev libgmock-dev \
                libbenchmark-dev libgeos-dev libpolyclipping-dev libboost-dev \
                libnanoflann-dev libshp-dev gdal-bin python3-pyshp libgdal-dev zlib1g-dev tmux \
                libcli11-dev nlohmann-json3-dev
# Only the tests need these: a browser that opens the map page.
TEST_DEB_PACKAGES := chromium
SUDO := $(shell [ "$$(id -u)" -eq 0 ] || echo sudo)

.PHONY: all deps test-deps build asan-build run test test-normal test-asan bench fuzz fuzz-build fuzz-smoke clean

all: build

deps test-deps:
	@missing=""; \
	for p in $(if $(filter test-deps,$@),$(TEST_DEB_PACKAGES),$(DEB_PACKAGES)); do \
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

# The main job: without ARGS, a real allocation of seeded meters onto the
# KY10 network shipped with the program (outputs in $(BUILD)/demo); with
# ARGS, any command, e.g. ARGS='allocate town.inp meters.shp -d GPM'.
run: deps $(BUILD)/build.ninja
	cmake --build $(BUILD) -j $(JOBS) --target allotrix
	./$(BUILD)/apps/allotrix/allotrix $(if $(ARGS),$(ARGS),demo --output-dir $(BUILD)/demo --force)

# The EPANET engine compiled to WebAssembly, for the test that opens the
# written model in it; skipped without Node.
EPANET_JS := epanet-js@0.9.0
npm-deps-%:
	@if command -v npm >/dev/null 2>&1 && [ ! -d $*/npm/node_modules/epanet-js ]; then \
	  mkdir -p $*/npm && npm install --silent --no-audit --no-fund --prefix $*/npm $(EPANET_JS) \
	    || echo "npm could not install $(EPANET_JS); the EPANET check will be skipped"; \
	fi

test-normal: build test-deps npm-deps-$(BUILD)
	cd $(BUILD) && ctest -j $(JOBS) --output-on-failure

test-asan: asan-build test-deps npm-deps-$(ASAN_BUILD)
	cd $(ASAN_BUILD) && ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
	  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 ctest -j $(JOBS) --output-on-failure

# Every test twice, in a normal build and under the sanitizers, with a short
# run of every fuzz harness in between (the sanitizer run reports last).
test: test-normal fuzz-smoke test-asan

# libFuzzer harnesses (clang, instrumented libraries, ASan and UBSan).
# fuzz-smoke runs each for FUZZ_SECONDS from a fixed seed; fuzz runs each for
# FUZZ_LONG_SECONDS and keeps its corpus in fuzz/corpus-<harness>/. Both start
# from the committed seeds in fuzz/seeds/<harness>/ when there are some and
# never write there. Findings land in FUZZ_BUILD.
FUZZ_SECONDS      ?= 5
FUZZ_LONG_SECONDS ?= 60
FUZZ_CXX_FLAGS    := -fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all

$(FUZZ_BUILD)/build.ninja: | deps
	cmake -S . -B $(FUZZ_BUILD) -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DALLOTRIX_FUZZ=ON \
	  -DALLOTRIX_BENCH=OFF "-DCMAKE_CXX_FLAGS=$(FUZZ_CXX_FLAGS)"

fuzz-build: deps $(FUZZ_BUILD)/build.ninja
	cmake --build $(FUZZ_BUILD) -j $(JOBS) --target fuzz_harnesses

fuzz-smoke: fuzz-build
	@for f in $(FUZZ_BUILD)/fuzz/fuzz_*; do \
	  name=$$(basename $$f); rm -rf $(FUZZ_BUILD)/smoke-$$name; mkdir -p $(FUZZ_BUILD)/smoke-$$name; \
	  seeds=$$([ -d fuzz/seeds/$$name ] && echo fuzz/seeds/$$name); \
	  echo "fuzz-smoke: $$f ($(FUZZ_SECONDS) s)"; \
	  "$$f" $(FUZZ_BUILD)/smoke-$$name $$seeds -seed=1 -max_total_time=$(FUZZ_SECONDS) -artifact_prefix=$(FUZZ_BUILD)/ 2>$(FUZZ_BUILD)/$$(basename $$f).log \
	    || { tail -40 $(FUZZ_BUILD)/$$(basename $$f).log; exit 1; }; \
	done

fuzz: fuzz-build
	@for f in $(FUZZ_BUILD)/fuzz/fuzz_*; do \
	  corpus=fuzz/corpus-$$(basename $$f); mkdir -p $$corpus; \
	  seeds=$$([ -d fuzz/seeds/$$(basename $$f) ] && echo fuzz/seeds/$$(basename $$f)); \
	  "$$f" $$corpus $$seeds -max_total_time=$(FUZZ_LONG_SECONDS) -artifact_prefix=$(FUZZ_BUILD)/ || exit 1; \
	done

# Side-by-side benchmarks against the reference libraries (release build).
bench: deps
	cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release
	cmake --build build-bench -j $(JOBS)
	@for b in build-bench/bench/*/bench_*; do [ -x "$$b" ] && "$$b" $(ARGS); done

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD) build-bench
