# Everything a fresh Debian 12 machine needs: `make run` and `make test`.

BUILD_DIR     ?= build
SANITIZE_DIR  ?= build-sanitize
THREAD_DIR    ?= build-thread
FUZZ_DIR      ?= build-fuzz
JOBS          ?= $(shell nproc 2>/dev/null || echo 2)
FUZZ_SECONDS  ?= 300
# Warnings are errors where the project is checked (make test, CI), not where a user builds
# it to run: a newer compiler's new warning must not stop `make run`. Unset, the build folder
# keeps what it was configured with (off in a fresh one).
WERROR        ?=
PREFIX        ?= /usr/local

PACKAGES      := cmake ninja-build g++ make libgtest-dev libgmock-dev libbenchmark-dev \
                 qt6-base-dev libxcb1-dev fonts-dejavu-core xvfb xauth xdotool xclip poppler-utils
FUZZ_PACKAGES := clang libclang-rt-14-dev

.PHONY: all deps configure build programs install run window test test-sanitize test-thread bench fuzz fuzz-deps format clean

all: build

# Installs only what is missing; without root it prints the command to run instead.
deps:
	@scripts/install-packages.sh $(PACKAGES)

fuzz-deps:
	@scripts/install-packages.sh $(FUZZ_PACKAGES)

configure: deps
	cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Release $(if $(WERROR),-DKOVA_WERROR=$(WERROR))

# Everything: the programs, the tests and the benchmarks.
build: configure
	cmake --build $(BUILD_DIR) -j $(JOBS)

# The two programs alone, for running them.
programs: configure
	cmake --build $(BUILD_DIR) -j $(JOBS) --target kova-cli kova

# kova and kova-cli into $(PREFIX)/bin (/usr/local/bin unless PREFIX is given; DESTDIR
# puts the whole tree under a staging folder).
install: programs
	cmake --install $(BUILD_DIR) --prefix "$(PREFIX)"

run: programs
	@scripts/run-example.sh $(BUILD_DIR)/bin/kova-cli

# The windowed program on the bundled example, in a scratch folder: type the four answers
# (data.txt, a seed, a number of randomizations, groups.txt) into its Input/Output window.
window: programs
	@scripts/run-window.sh $(BUILD_DIR)/bin/kova

test: WERROR = ON
test: build
	ctest --test-dir $(BUILD_DIR) --output-on-failure -j $(JOBS)
	$(MAKE) --no-print-directory test-sanitize
	$(MAKE) --no-print-directory test-thread

# The whole suite again under AddressSanitizer and UndefinedBehaviorSanitizer;
# any report fails the run. The sanitizer builds keep line tables only (-g1): their reports
# name files and lines, and full debug information would lengthen the build by a tenth to a
# fifth.
test-sanitize: deps
	cmake -S . -B $(SANITIZE_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG=-g1 \
	  -DKOVA_SANITIZE=ON -DKOVA_BENCHMARKS=OFF -DKOVA_WERROR=ON
	cmake --build $(SANITIZE_DIR) -j $(JOBS)
	ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:allocator_may_return_null=1 \
	UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	  ctest --test-dir $(SANITIZE_DIR) --output-on-failure -j $(JOBS)

# The steps', the driver's and the end-to-end tests again under ThreadSanitizer (the programs
# they run are built with it too); any report fails the run.
test-thread: deps
	cmake -S . -B $(THREAD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKOVA_BENCHMARKS=OFF \
	  "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O2 -g1 -DNDEBUG" \
	  -DKOVA_WERROR=ON \
	  -DCMAKE_CXX_FLAGS=-fsanitize=thread -DCMAKE_EXE_LINKER_FLAGS=-fsanitize=thread
	cmake --build $(THREAD_DIR) -j $(JOBS) --target randomization_tests driver_tests apps_tests
	TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1:allocator_may_return_null=1 \
	  ctest --test-dir $(THREAD_DIR) --output-on-failure -j $(JOBS) -R '^(randomization|driver|apps)_tests[.]'

bench: build
	@for benchmark in $(BUILD_DIR)/bench/*_bench; do \
	  echo "== $$benchmark"; $$benchmark || exit 1; done
	@echo "== whole runs through the window and through kova-cli"
	@bench/window_run_bench.sh $(BUILD_DIR)
	@echo "== peak memory of kova-cli runs on two tables of 10^8 entries"
	@bench/peak_memory.sh $(BUILD_DIR)

# Runs each fuzzer for FUZZ_SECONDS (not part of `make test`): the free-format reader, then the
# checked reading of a run's files. A header may ask for a table far larger than its file (a
# repeat count fills it); the address sanitizer would map shadow memory for all of it, so
# allocations above a gigabyte are refused, and the reading reports them as it reports any
# refused allocation.
fuzz: fuzz-deps
	CXX=clang++ cmake -S . -B $(FUZZ_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DKOVA_FUZZ=ON -DKOVA_TESTS=OFF -DKOVA_BENCHMARKS=OFF
	cmake --build $(FUZZ_DIR) -j $(JOBS)
	@for target in free_format_input checked_inputs; do \
	  mkdir -p $(FUZZ_DIR)/corpus/$$target && cp fuzz/seeds/$$target/* $(FUZZ_DIR)/corpus/$$target/ && \
	  echo "== $$target" && \
	  ASAN_OPTIONS=allocator_may_return_null=1:max_allocation_size_mb=1024 \
	    $(FUZZ_DIR)/fuzz/$${target}_fuzz -max_total_time=$(FUZZ_SECONDS) -rss_limit_mb=2048 \
	    -print_final_stats=1 $(FUZZ_DIR)/corpus/$$target || exit 1; \
	done

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf $(BUILD_DIR) $(SANITIZE_DIR) $(THREAD_DIR) $(FUZZ_DIR)
