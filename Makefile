# Quick start: `make run` starts the editor, `make test` runs every test.
# Both install missing Debian packages first (as root), then configure and build.

BUILD      ?= build
ASAN_BUILD ?= build-asan
JOBS       ?= $(shell nproc)
# Warnings fail the build in CI, where the compiler is known.
WERROR     ?= $(if $(CI),ON,OFF)
# The sanitizer pass runs in CI; set ASAN=1 to run it locally too.
ASAN       ?= $(if $(CI),1,0)

CMAKE_FLAGS = -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DORVEX_WERROR=$(WERROR)
# What `make run` needs: the editor, the simulator it attaches and the CLI.
# The tests are built by `make build` and `make test`.
RUN_TARGETS = orvex-editor orvex-sim orvex

.PHONY: all deps build run test test-asan bench clean

all: build

deps:
	@scripts/install-deps.sh

$(BUILD)/build.ninja:
	cmake -S . -B $(BUILD) $(CMAKE_FLAGS)

build: deps $(BUILD)/build.ninja
	cmake --build $(BUILD) -j $(JOBS)

run: deps $(BUILD)/build.ninja
	cmake --build $(BUILD) -j $(JOBS) --target $(RUN_TARGETS)
	@scripts/run-editor.sh $(BUILD)

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)
ifeq ($(ASAN),1)
	$(MAKE) test-asan
endif

test-asan: deps
	cmake -S . -B $(ASAN_BUILD) $(CMAKE_FLAGS) -DCMAKE_BUILD_TYPE=Debug -DORVEX_SANITIZE=ON
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0 \
		UBSAN_OPTIONS=print_stacktrace=1 ctest --output-on-failure -j $(JOBS)

bench: deps
	cmake -S . -B $(BUILD)-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DORVEX_BENCH=ON -DBUILD_TESTING=OFF
	cmake --build $(BUILD)-bench -j $(JOBS)
	@scripts/run-bench.sh $(BUILD)-bench

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(BUILD)-bench
