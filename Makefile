# The two commands of the README: `make run` and `make test`.
BUILD ?= build
JOBS ?= $(shell nproc)

PREFIX ?= /usr/local
# WERROR=ON turns compiler warnings into errors (CI does).
WERROR ?= OFF

.PHONY: deps test-deps bench-deps configure build run test clean bench install package test-sanitize fuzz fuzz-build format

# The sanitizer tree (make test-sanitize) and the clang fuzzing tree (make fuzz); -O1 keeps
# their builds and runs quick.
ASAN_BUILD ?= build-asan
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 600
SANITIZE_FLAGS = -O1 -g -fno-omit-frame-pointer -fsanitize=address,undefined -fno-sanitize-recover=all
SANITIZE_ENV = ASAN_OPTIONS=halt_on_error=1:detect_leaks=1:abort_on_error=1 \
 LSAN_OPTIONS=suppressions=$(CURDIR)/tests/sanitizer/lsan.supp:print_suppressions=0 \
 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1

# What building and running need; `make test` adds the test tools.
deps:
	@scripts/install-deps

test-deps:
	@scripts/install-deps test

configure: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVEROSTA_WERROR=$(WERROR) >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

run: build
	cd $(BUILD)/verosta && ./verosta

test: test-deps build fuzz-build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)
	@fuzz/run $(FUZZ_BUILD) check

test-sanitize: test-deps
	@cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Sanitize -DCMAKE_CXX_FLAGS="$(SANITIZE_FLAGS)" \
	  -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" >/dev/null
	@cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && $(SANITIZE_ENV) QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

fuzz-build: test-deps
	@cmake -S . -B $(FUZZ_BUILD) -DVEROSTA_FUZZ=ON -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=Sanitize \
	  -DCMAKE_CXX_FLAGS="$(SANITIZE_FLAGS) -fsanitize=fuzzer-no-link" \
	  -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" >/dev/null
	@cmake --build $(FUZZ_BUILD) --target fuzz_targets -j $(JOBS)

fuzz: fuzz-build
	@fuzz/run $(FUZZ_BUILD) $(FUZZ_SECONDS)

bench-deps:
	@scripts/install-deps bench

bench: bench-deps build
	@for b in $(BUILD)/bench/bench_*; do [ -x "$$b" ] && QT_QPA_PLATFORM=offscreen $$b; done; true

install: build
	cmake --install $(BUILD) --prefix $(PREFIX)

# A Debian package in $(BUILD)/packages/.
package: test-deps build
	cd $(BUILD) && cpack -G DEB -B packages

# Lays out every C++ file as .clang-format says (scripts/check-format checks it in CI).
format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD)
