# Quick start: `make run` starts the editor, `make test` runs every test.
# Both install missing Debian packages first (as root), then configure and build.

BUILD      ?= build
ASAN_BUILD ?= build-asan
JOBS       ?= $(shell nproc)
# Warnings fail the build in CI, where the compiler is known.
WERROR     ?= $(if $(CI),ON,OFF)
# The sanitizer pass runs in CI; set ASAN=1 to run it locally too.
ASAN       ?= $(if $(CI),1,0)
# So does the check of the Debian package; set PACKAGE_CHECK=1 locally.
PACKAGE_CHECK ?= $(if $(CI),1,0)
# The name CPack gives the package: orvex_<version>_<arch>.deb.
VERSION    := $(shell sed -n 's/^project.orvex VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
DEB        := orvex_$(VERSION)_$(shell dpkg --print-architecture 2>/dev/null || echo unknown).deb
FUZZ_BUILD ?= build-fuzz
# Seconds each fuzz target runs in `make fuzz`.
FUZZ_SECONDS ?= 60

CMAKE_FLAGS = -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DORVEX_WERROR=$(WERROR)
# What `make run` needs: the editor, the simulator it attaches and the CLI.
# The tests are built by `make build` and `make test`.
RUN_TARGETS = orvex-editor orvex-sim orvex

.PHONY: all deps build run test test-asan package package-check bench fuzz clean

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
ifeq ($(PACKAGE_CHECK),1)
	$(MAKE) package-check
endif
ifeq ($(ASAN),1)
	$(MAKE) test-asan
endif

test-asan: deps
	cmake -S . -B $(ASAN_BUILD) $(CMAKE_FLAGS) -DCMAKE_BUILD_TYPE=Debug -DORVEX_SANITIZE=ON
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0 \
		UBSAN_OPTIONS=print_stacktrace=1 ctest --output-on-failure -j $(JOBS)

# The Debian package of the build, put here for `apt install ./$(DEB)`.
package: build
	cd $(BUILD) && cpack -G DEB
	mv -f $(BUILD)/$(DEB) .

package-check: package
	scripts/check-package.sh $(DEB)

bench: deps
	cmake -S . -B $(BUILD)-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DORVEX_BENCH=ON -DBUILD_TESTING=OFF
	cmake --build $(BUILD)-bench -j $(JOBS)
	@scripts/run-bench.sh $(BUILD)-bench

# libFuzzer targets under ASan+UBSan, built with clang in their own folder.
fuzz: deps
	cmake -S . -B $(FUZZ_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
		-DORVEX_FUZZ=ON -DBUILD_TESTING=OFF
	cmake --build $(FUZZ_BUILD) -j $(JOBS)
	FUZZ_SECONDS=$(FUZZ_SECONDS) scripts/run-fuzz.sh $(FUZZ_BUILD)

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(BUILD)-bench $(FUZZ_BUILD)
