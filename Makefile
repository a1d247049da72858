# Quick start: `make run` and `make test`. Each installs what is missing,
# configures, builds and then runs. CI (CI=true) builds with warnings as errors.
PRESET ?= $(if $(CI),ci,dev)
BUILD := build/$(PRESET)
FUZZ_SECONDS ?= 60
SCRATCH := scratch

.PHONY: all deps build test unit-tests fuzz-smoke run demo bench asan tsan format clean

all: build

deps:
	@bash scripts/install-deps

build: deps
	cmake --preset $(PRESET) >/dev/null
	cmake --build --preset $(PRESET)

unit-tests: build
	ctest --preset $(PRESET) --output-on-failure -j2

# The suite in the normal build, again under ASan+UBSan, the concurrency
# tests under TSan, then the fuzz smoke run.
test: unit-tests asan tsan fuzz-smoke

# A bounded libFuzzer run of Analyse under AddressSanitizer and UBSan, seeded
# with small recordings of our own.
fuzz-smoke: deps
	cmake --preset fuzz >/dev/null
	cmake --build --preset fuzz --target analyse_fuzzer sundrel-synth
	bash scripts/fuzz-smoke build/fuzz $(FUZZ_SECONDS)

# The desktop program, in a scratch working folder with a config.ini and a
# sample recording pair in its storage folder.
# Builds only what it runs; `make test` builds the rest.
run: deps
	cmake --preset $(PRESET) >/dev/null
	cmake --build --preset $(PRESET) --target sundrel sundrel-synth sundrel-boxsim
	bash scripts/run-sundrel $(BUILD) $(SCRATCH)/run

# A sample recording pair, analysed on the command line.
demo: build
	rm -rf $(SCRATCH)/sample && mkdir -p $(SCRATCH)/sample
	$(BUILD)/tools/sundrel-synth --length 1250 --start 35200 --left 65:0.06,240:0.05 \
	    --right 450:0.07,1500:0.04 --spikes 20 --line 京沪线下行 --department 北京工务段 \
	    --staff 张工 --time 20261210223000 $(SCRATCH)/sample >/dev/null
	$(BUILD)/tools/kestova analyse --limits 0.1,0.1,0.1,0.1 \
	    $(SCRATCH)/sample/20261210223000_left.raw $(SCRATCH)/sample/20261210223000_right.raw

bench: deps
	cmake --preset release >/dev/null
	cmake --build --preset release --target analyse_bench
	build/release/bench/analyse_bench

asan: deps
	cmake --preset asan >/dev/null
	cmake --build --preset asan
	ctest --preset asan -j2

# The tests labelled `concurrency` (cross-thread messages, serial ports,
# acquisition channels) under ThreadSanitizer.
tsan: deps
	cmake --preset tsan >/dev/null
	cmake --build --preset tsan --target concurrency_tests
	ctest --preset tsan -L concurrency -j2

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf build $(SCRATCH)
