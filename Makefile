# The two commands of the Quick start: `make play` and `make test`.
BUILD ?= build
JOBS  ?= $(shell nproc)
XVFB  = scripts/with-xvfb

.PHONY: play test deps build bench clean install uninstall test-sanitize fuzz soak

deps:
	@scripts/install-deps

# ccache, where installed, makes rebuilds of other checkouts cheap; the build
# does not need it.
LAUNCHER := $(if $(shell command -v ccache),-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)

build: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo $(LAUNCHER) > /dev/null
	@cmake --build $(BUILD) -j $(JOBS)

play: build
	cd $(BUILD)/data && ../korvanthe

# Every test (unit, GL and end-to-end) runs inside one virtual X server.
test: build
	$(XVFB) sh -c "cd $(BUILD) && ctest --output-on-failure -j $(JOBS)"

# On the default content unless KORVANTHE_BENCH_DATA names another match
# (empty: the small fixture match).
KORVANTHE_BENCH_DATA ?= $(CURDIR)/$(BUILD)/data
export KORVANTHE_BENCH_DATA
bench: build
	$(XVFB) sh -c "cd $(BUILD) && ./korvanthe_bench"

# A desktop game: PREFIX (default /usr/local) and DESTDIR, as packagers expect.
PREFIX ?= /usr/local
install: build
	cmake --install $(BUILD) --prefix $(PREFIX)

uninstall:
	cmake -D PREFIX=$(PREFIX) -P $(BUILD)/uninstall.cmake

# The whole suite again, built with AddressSanitizer and UndefinedBehaviorSanitizer
# in a folder of its own. Leaks inside the system's GL, X and SDL libraries are
# suppressed (see the file); any other report fails the test that made it.
SANITIZE_BUILD ?= build-sanitize
SANITIZE_ENV = ASAN_OPTIONS=detect_leaks=1:strict_string_checks=1:check_initialization_order=1 \
	LSAN_OPTIONS=suppressions=$(CURDIR)/tests/sanitize/lsan.supp:print_suppressions=0 \
	UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
test-sanitize: deps
	@cmake -S . -B $(SANITIZE_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKORVANTHE_SANITIZE=ON $(LAUNCHER) > /dev/null
	@cmake --build $(SANITIZE_BUILD) -j $(JOBS)
	$(XVFB) env $(SANITIZE_ENV) sh -c "cd $(SANITIZE_BUILD) && ctest --output-on-failure -j $(JOBS)"

# Every reader fuzzed by libFuzzer (clang) for FUZZ_SECONDS each; FUZZ_TARGETS
# names a few of them. Inputs that crash land in $(FUZZ_BUILD)/findings.
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 60
FUZZ_TARGETS ?=
fuzz:
	@scripts/install-deps fuzz
	@cmake -S . -B $(FUZZ_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
		-DKORVANTHE_FUZZ=ON $(LAUNCHER) > /dev/null
	@cmake --build $(FUZZ_BUILD) -j $(JOBS)
	scripts/fuzz $(FUZZ_BUILD) $(FUZZ_SECONDS) $(FUZZ_TARGETS)

# The demo (the computer on both sides) for SOAK_MINUTES under a virtual X
# server: bouts played, crashes and the memory's growth; screenshots of the
# first bouts and the last in $(BUILD)/soak.
SOAK_MINUTES ?= 60
soak: build
	scripts/soak $(BUILD) $(SOAK_MINUTES)

clean:
	rm -rf $(BUILD) $(SANITIZE_BUILD) $(FUZZ_BUILD)
