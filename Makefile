# Quorvane: `make run` starts the editor on the sample picture, `make test`
# runs every test. Both install what is missing and build first.
BUILD ?= build
CHECK ?= build-check
JOBS ?= $(shell nproc)
SAMPLE = assets/sample.jpg

.PHONY: all deps build check-build run test bench clean

all: build

deps:
	@scripts/install-deps

# The editor, quorvane-batch, the tests and the benchmarks (g++).
build: deps
	@[ -f $(BUILD)/build.ninja ] || cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
	@cmake --build $(BUILD) -j $(JOBS)

# The engine and its tests under AddressSanitizer and UndefinedBehaviorSanitizer,
# with the fuzz targets (clang).
check-build: deps
	@[ -f $(CHECK)/build.ninja ] || CC=clang CXX=clang++ cmake -S . -B $(CHECK) -G Ninja \
	  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUORVANE_GUI=OFF -DQUORVANE_BENCH=OFF \
	  -DQUORVANE_SANITIZE=ON -DQUORVANE_FUZZ=ON
	@cmake --build $(CHECK) -j $(JOBS)

run: build
	@if [ -z "$${DISPLAY:-}$${WAYLAND_DISPLAY:-}" ]; then \
	  echo "make run: no desktop session (DISPLAY is not set); without one, use $(BUILD)/tools/quorvane-batch INPUT OUTPUT [--filter NAME]... (see --help)"; \
	else \
	  $(BUILD)/app/quorvane $(SAMPLE); \
	fi

test: build check-build
	@ctest --test-dir $(BUILD) --output-on-failure
	@ctest --test-dir $(CHECK) --output-on-failure

# Every benchmark runs, also after one misses its target; the status says
# whether any did.
BENCH_PROGRAMS = codec_bench redraw_bench filters_bench geometry_bench custom_filter_bench
BENCH_SCRIPTS = file_to_file filters_file_to_file geometry_file_to_file custom_filter_fx

bench: build
	@status=0; \
	for program in $(BENCH_PROGRAMS); do $(BUILD)/bench/$$program || status=1; done; \
	for script in $(BENCH_SCRIPTS); do bench/$$script.sh $(BUILD) || status=1; done; \
	exit $$status

clean:
	rm -rf $(BUILD) $(CHECK)
