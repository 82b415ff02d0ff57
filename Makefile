# Set-up and everyday commands. Build trees live under build/.
BUILD      ?= build
ASAN_BUILD ?= build-asan
FUZZ_BUILD ?= build-fuzz
# Fuzzing time per target: a short run in `make test`, a campaign in `make fuzz`.
FUZZ_SMOKE_SECONDS ?= 60
FUZZ_SECONDS       ?= 1800
JOBS       ?= $(shell nproc)
EXAMPLE    ?= examples/calc

.PHONY: all bench build build-asan build-fuzz fuzz fuzz-smoke run test clean

all: build

build:
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD) -j $(JOBS)

build-asan:
	cmake -S . -B $(ASAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DPARVOLEN_SANITIZE=ON
	cmake --build $(ASAN_BUILD) -j $(JOBS)

# Generates the bundled examples' translators, builds them and runs them on sample inputs.
run: build
	bash $(EXAMPLE)/run.sh $(abspath $(BUILD))/parvolen
	bash examples/postfix/run.sh $(abspath $(BUILD))/parvolen

# Every test: unit and end-to-end, once plain and once under the sanitizers; then the fuzz smoke run.
test: build build-asan
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)
	cd $(ASAN_BUILD) && ASAN_OPTIONS=detect_leaks=1:allocator_may_return_null=1 UBSAN_OPTIONS=print_stacktrace=1 ctest --output-on-failure -j $(JOBS)
	$(MAKE) fuzz-smoke

# Generator benchmark: grammar families at n, 2n, 4n, Oberon-0 at every lookahead, bison beside.
bench: build
	bash bench/run.sh $(BUILD)

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD)

# The fuzz targets: clang with libFuzzer, AddressSanitizer and UndefinedBehaviorSanitizer.
build-fuzz:
	cmake -S . -B $(FUZZ_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang \
	  -DCMAKE_CXX_COMPILER=clang++ -DPARVOLEN_SANITIZE=ON -DPARVOLEN_FUZZ=ON -DPARVOLEN_TESTS=OFF
	cmake --build $(FUZZ_BUILD) -j $(JOBS)

# Replays the fuzz corpus and fuzzes each target briefly (part of `make test`).
fuzz-smoke: build-fuzz
	bash fuzz/run.sh $(FUZZ_BUILD) $(FUZZ_SMOKE_SECONDS)

# A fuzzing campaign: FUZZ_SECONDS per target, one target at a time (docs/fuzzing.md).
fuzz: build-fuzz
	bash fuzz/run.sh $(FUZZ_BUILD) $(FUZZ_SECONDS)
