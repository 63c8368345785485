# Harmonet: every target installs what is missing, then configures and builds.
#   make run    build and open the player on the example song
#   make test   build everything and run the whole test suite
#   make bench  build and run the benchmarks
#   make fuzz   build and run every fuzz target (FUZZERS) for FUZZ_SECONDS each

BUILD      := build
FUZZ_BUILD := build-fuzz
FUZZ_BIN   := $(CURDIR)/$(FUZZ_BUILD)/fuzz
FUZZERS    := reader words settings
FUZZ_SECONDS := 60
EXAMPLE    := examples/old-hundredth.mid
CMAKE_GEN  := -G Ninja

.PHONY: all deps bench-deps build fuzz-build run test bench fuzz clean

all: build

deps:
	@./scripts/install-deps.sh

# What only the benchmarks need (FluidSynth's file renderer, their peer).
bench-deps:
	@./scripts/install-deps.sh --bench

build: deps
	cmake -S . -B $(BUILD) $(CMAKE_GEN) -DHARMONET_FUZZ_BINARY_DIR=$(FUZZ_BIN)
	cmake --build $(BUILD)

fuzz-build: deps
	cmake -S . -B $(FUZZ_BUILD) $(CMAKE_GEN) -DHARMONET_FUZZ=ON \
	  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(FUZZ_BUILD)

run: build
	./app/run-harmonet.sh $(BUILD)/app/harmonet $(EXAMPLE)

test: build fuzz-build
	ctest --test-dir $(BUILD) --output-on-failure -j2

bench: build bench-deps
	$(BUILD)/bench/harmonet-bench
	$(BUILD)/bench/harmonet-bench-dispatch
	$(BUILD)/bench/harmonet-bench-render
	$(BUILD)/bench/harmonet-bench-transport
	$(BUILD)/bench/harmonet-bench-mixer
	$(BUILD)/bench/harmonet-bench-practice
	nice -n 5 $(BUILD)/bench/harmonet-bench-cores
	$(BUILD)/bench/harmonet-bench-stage
	$(BUILD)/bench/harmonet-bench-onsets
	$(BUILD)/bench/harmonet-bench-loop
	$(BUILD)/bench/harmonet-bench-startup
	$(BUILD)/bench/harmonet-bench-singing

# Each target grows its own work corpus (fuzz/corpus-work-<name>, not kept in
# git) from its seed corpus (fuzz/corpus-<name>; the reader's is fuzz/corpus).
fuzz: fuzz-build
	@set -e; for name in $(FUZZERS); do \
	  seeds=fuzz/corpus-$$name; [ $$name != reader ] || seeds=fuzz/corpus; \
	  mkdir -p fuzz/corpus-work-$$name; \
	  echo "== harmonet-fuzz-$$name for $(FUZZ_SECONDS) s"; \
	  $(FUZZ_BIN)/harmonet-fuzz-$$name -max_total_time=$(FUZZ_SECONDS) -max_len=8192 -print_final_stats=1 \
	    fuzz/corpus-work-$$name $$seeds; \
	done

clean:
	rm -rf $(BUILD) $(FUZZ_BUILD)
