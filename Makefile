# Harmonet: every target installs what is missing, then configures and builds.
#   make run    build and open the player on the example song
#   make test   build everything and run the whole test suite
#   make bench  build and run the benchmarks
#   make fuzz   build and run the MIDI file reader's fuzzer for 60 s

BUILD      := build
FUZZ_BUILD := build-fuzz
FUZZER     := $(CURDIR)/$(FUZZ_BUILD)/fuzz/harmonet-fuzz-reader
EXAMPLE    := examples/old-hundredth.mid
CMAKE_GEN  := -G Ninja

.PHONY: all deps build fuzz-build run test bench fuzz clean

all: build

deps:
	@./scripts/install-deps.sh

build: deps
	cmake -S . -B $(BUILD) $(CMAKE_GEN) -DHARMONET_FUZZER=$(FUZZER)
	cmake --build $(BUILD)

fuzz-build: deps
	cmake -S . -B $(FUZZ_BUILD) $(CMAKE_GEN) -DHARMONET_FUZZ=ON \
	  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(FUZZ_BUILD)

run: build
	./app/run-harmonet.sh $(BUILD)/app/harmonet $(EXAMPLE)

test: build fuzz-build
	ctest --test-dir $(BUILD) --output-on-failure -j2

bench: build
	$(BUILD)/bench/harmonet-bench
	$(BUILD)/bench/harmonet-bench-dispatch
	$(BUILD)/bench/harmonet-bench-render
	$(BUILD)/bench/harmonet-bench-transport
	$(BUILD)/bench/harmonet-bench-mixer
	$(BUILD)/bench/harmonet-bench-practice
	$(BUILD)/bench/harmonet-bench-stage
	$(BUILD)/bench/harmonet-bench-onsets
	$(BUILD)/bench/harmonet-bench-startup

fuzz: fuzz-build
	mkdir -p fuzz/corpus-work
	$(FUZZER) -max_total_time=60 -max_len=8192 -print_final_stats=1 fuzz/corpus-work fuzz/corpus

clean:
	rm -rf $(BUILD) $(FUZZ_BUILD)
