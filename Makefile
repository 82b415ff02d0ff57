# Set-up and everyday commands. Build trees live under build/.
BUILD      ?= build
# The optimised build of `make run`, the one the README installs from.
RELEASE_BUILD ?= build-release
ASAN_BUILD ?= build-asan
FUZZ_BUILD ?= build-fuzz
# Fuzzing time per target: a short run in `make test` (seven targets, about five minutes in all),
# a campaign in `make fuzz`.
FUZZ_SMOKE_SECONDS ?= 45
FUZZ_SECONDS       ?= 1800
JOBS       ?= $(shell nproc)
EXAMPLE    ?= examples/calc

.PHONY: all bench bench-recovery bench-translators build build-asan build-fuzz build-release check deps fuzz fuzz-smoke readme-test run test tools clean

all: build

# Installs the build tools, GoogleTest, clang, groff, man and chromium where missing (apt-get, through
# sudo when not root): the same installer as CI.
deps:
	bash .ci/install-deps

# Says which build tool is missing and how to get it, before a build fails less clearly.
tools:
	@missing=""; \
	command -v cmake >/dev/null || missing="$$missing cmake"; \
	command -v ninja >/dev/null || missing="$$missing ninja"; \
	command -v c++ >/dev/null || command -v g++ >/dev/null || command -v clang++ >/dev/null || \
	  missing="$$missing C++-compiler"; \
	if [ -n "$$missing" ]; then \
	  echo "missing:$$missing"; \
	  echo "install them with 'make deps' (apt-get: cmake ninja-build g++), or by hand"; \
	  exit 1; \
	fi

# Without GoogleTest the build has no tests (CMakeLists.txt turns PARVOLEN_TESTS off).
build: tools
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD) -j $(JOBS)

# The everyday check: the plain build with its tests, unit and end-to-end; no sanitizers, no
# fuzzing. The tests are asked for, so a build tree configured without them gets them now.
check: tools
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPARVOLEN_TESTS=ON || \
	  { echo "the tests need GoogleTest: install it with 'make deps' (apt-get: libgtest-dev)"; exit 1; }
	cmake --build $(BUILD) -j $(JOBS)
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

build-asan: tools
	cmake -S . -B $(ASAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DPARVOLEN_SANITIZE=ON -DPARVOLEN_TESTS=ON
	cmake --build $(ASAN_BUILD) -j $(JOBS)

# The programs alone, optimised, without the tests: what the README's quick start installs.
build-release: tools
	cmake -S . -B $(RELEASE_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release -DPARVOLEN_TESTS=OFF
	cmake --build $(RELEASE_BUILD) -j $(JOBS)

# Generates the bundled examples' translators, builds them and runs them on sample inputs.
run: build-release
	bash $(EXAMPLE)/run.sh $(abspath $(RELEASE_BUILD))/parvolen
	bash examples/postfix/run.sh $(abspath $(RELEASE_BUILD))/parvolen

# Every test, as CI runs it: unit and end-to-end, once plain and once under the sanitizers; then the
# fuzz smoke run and the README followed on a fresh clone. `make check` is the quick part of it.
test: check build-asan
	cd $(ASAN_BUILD) && ASAN_OPTIONS=detect_leaks=1:allocator_may_return_null=1 UBSAN_OPTIONS=print_stacktrace=1 ctest --output-on-failure -j $(JOBS)
	$(MAKE) fuzz-smoke
	$(MAKE) readme-test

# Follows the README's set-up and install on a fresh clone of the committed HEAD, with a fresh
# HOME and PATH, and builds a project that finds the installed package (a full build: slow).
readme-test:
	JOBS=$(JOBS) bash tests/readme/follow_readme.sh

# Generator benchmark: grammar families at n, 2n, 4n, Oberon-0 at every lookahead, bison beside;
# then the translator benchmark.
bench: build
	bash bench/run.sh $(BUILD)
	bash bench/translators.sh $(BUILD)

# Translator benchmark: generated PL/0 and JSON translators on 10 and 50 MB inputs, beside
# bison+flex (and for PL/0 coco-cpp and pccts) recognisers of the same languages, a byte-walk
# floor, and the generation time of a description with a large lexicon.
bench-translators: build
	bash bench/translators.sh $(BUILD)

# Error-recovery benchmark: real PL/0, Oberon-0 and JSON programs with 1 and 3 injected token
# errors, the --prefix translators with recovery beside the LL(*) generator's parsers of the same
# languages; recall, spurious reports and first-error exactness (needs shared/realworld beside
# the repository, or REALWORLD=DIR).
bench-recovery: build
	bash bench/recovery.sh $(BUILD)

clean:
	rm -rf $(BUILD) $(RELEASE_BUILD) $(ASAN_BUILD) $(FUZZ_BUILD)

# The fuzz targets: clang with libFuzzer, AddressSanitizer and UndefinedBehaviorSanitizer.
build-fuzz: tools
	cmake -S . -B $(FUZZ_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang \
	  -DCMAKE_CXX_COMPILER=clang++ -DPARVOLEN_SANITIZE=ON -DPARVOLEN_FUZZ=ON -DPARVOLEN_TESTS=OFF
	cmake --build $(FUZZ_BUILD) -j $(JOBS)

# Replays the fuzz corpus and fuzzes each target briefly (part of `make test`).
fuzz-smoke: build-fuzz
	bash fuzz/run.sh $(FUZZ_BUILD) $(FUZZ_SMOKE_SECONDS)

# A fuzzing campaign: FUZZ_SECONDS per target, one target at a time (docs/fuzzing.md).
fuzz: build-fuzz
	bash fuzz/run.sh $(FUZZ_BUILD) $(FUZZ_SECONDS)
