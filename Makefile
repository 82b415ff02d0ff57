# Set-up and everyday commands. Build trees live under build/.
BUILD      ?= build
ASAN_BUILD ?= build-asan
JOBS       ?= $(shell nproc)
EXAMPLE    ?= examples/calc

.PHONY: all build build-asan run test clean

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

# Every test: unit and end-to-end, once plain and once under the sanitizers.
test: build build-asan
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)
	cd $(ASAN_BUILD) && ASAN_OPTIONS=detect_leaks=1:allocator_may_return_null=1 UBSAN_OPTIONS=print_stacktrace=1 ctest --output-on-failure -j $(JOBS)

clean:
	rm -rf $(BUILD) $(ASAN_BUILD)
