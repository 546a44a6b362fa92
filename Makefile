# The two commands: `make test` and `make run`. Each installs what is missing first.
BUILD ?= build
ASAN_BUILD ?= build-asan
JOBS ?= 2
CMAKE_FLAGS ?= -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER_LAUNCHER=ccache

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

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

# The soak: a day of the fast clock in about 12 minutes (SOAK_ARGS=--quick: one hour).
.PHONY: soak
soak: configure
	cmake --build $(BUILD) -j $(JOBS) --target bench_soak key_recorder
	bash scripts/soak.sh $(BUILD) $(SOAK_ARGS)
