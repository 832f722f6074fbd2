# The two commands of the README: `make run` and `make test`.
BUILD ?= build
JOBS ?= $(shell nproc)

PREFIX ?= /usr/local

.PHONY: deps test-deps configure build run test clean bench install package

# What building and running need; `make test` adds the test tools.
deps:
	@scripts/install-deps

test-deps:
	@scripts/install-deps test

configure: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

run: build
	cd $(BUILD)/verosta && ./verosta

test: test-deps build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

bench: build
	@for b in $(BUILD)/bench/bench_*; do [ -x "$$b" ] && QT_QPA_PLATFORM=offscreen $$b; done; true

install: build
	cmake --install $(BUILD) --prefix $(PREFIX)

# A Debian package in $(BUILD)/packages/.
package: test-deps build
	cd $(BUILD) && cpack -G DEB -B packages

clean:
	rm -rf $(BUILD)
