# The two commands: `make test` and `make run`. Each installs what is missing first.
BUILD ?= build
ASAN_BUILD ?= build-asan
TSAN_BUILD ?= build-tsan
JOBS ?= 2
CMAKE_FLAGS ?= -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER_LAUNCHER=ccache
# Paths relative to the checkout, so every clone shares the compiler cache; four
# builds (normal, ASan, TSan, fuzz) need more room than ccache's default.
export CCACHE_BASEDIR ?= $(CURDIR)
export CCACHE_NOHASHDIR ?= true
export CCACHE_MAXSIZE ?= 12G

.PHONY: deps configure build test run asan-test format

deps:
	bash scripts/install-deps.sh

configure: deps
	cmake -S . -B $(BUILD) $(CMAKE_FLAGS)

build: configure
	cmake --build $(BUILD) -j $(JOBS)

test: build
	bash scripts/run-tests.sh $(BUILD)
	bash scripts/package-check.sh $(BUILD)

run: build
	bash scripts/run-demo.sh $(BUILD)

asan-test: deps
	cmake -S . -B $(ASAN_BUILD) $(CMAKE_FLAGS) -DCMAKE_BUILD_TYPE=Debug -DLANXUN_SANITIZE=ON
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	bash scripts/run-tests.sh $(ASAN_BUILD)

# The programs whose tests run background workers, under ThreadSanitizer.
TSAN_TESTS = tests_numbers tests_records tests_projects tests_forwarding tests_account tests_platform

.PHONY: tsan-test
tsan-test: deps
	cmake -S . -B $(TSAN_BUILD) $(CMAKE_FLAGS) -DLANXUN_TSAN=ON
	cmake --build $(TSAN_BUILD) -j $(JOBS) --target $(TSAN_TESTS)
	bash scripts/run-tsan-tests.sh $(TSAN_BUILD)

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

# The fuzzers: a clang build of the libraries and fuzz/ only, then each target
# for FUZZ_SECONDS from its seed corpus. fuzz-brief is the short run for CI.
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 60
FUZZ_BRIEF_SECONDS ?= 15

.PHONY: fuzz-build fuzz fuzz-brief

fuzz-build: deps
	cmake -S . -B $(FUZZ_BUILD) $(CMAKE_FLAGS) -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DLANXUN_FUZZ=ON
	cmake --build $(FUZZ_BUILD) -j $(JOBS) --target fuzzers

fuzz: fuzz-build
	bash fuzz/run-fuzzers.sh $(FUZZ_BUILD) $(FUZZ_SECONDS)

fuzz-brief: fuzz-build
	bash fuzz/run-fuzzers.sh $(FUZZ_BUILD) $(FUZZ_BRIEF_SECONDS)

# The soak: a day of the fast clock in about 12 minutes (SOAK_ARGS=--quick: one hour).
.PHONY: soak
soak: configure
	cmake --build $(BUILD) -j $(JOBS) --target bench_soak key_recorder
	bash scripts/soak.sh $(BUILD) $(SOAK_ARGS)
