# The README's commands: `make demo` sets everything up and prints a sample, `make` sets up and builds
# everything into build/, `make test` runs every test. They may be run again at any time and say nothing
# when there is nothing to do.
BUILD := build
# The compiler cache finds a clone's objects in another clone's: paths under the clone are cached relative to
# it, and the debug information names the clone as '.', so that ccache need not key on the build folder.
export CCACHE_BASEDIR := $(CURDIR)

.PHONY: all setup configure test demo bench asan fuzz package package-test clean

# Names the engine once something was built; says nothing when everything was up to date (nor what CMake says
# of its own when it configures again).
all: setup configure
	@out=$$(ninja -C $(BUILD) --quiet 2>&1) || { echo "$$out"; exit 1; }; \
		case "$$out" in "ninja: no work to do."*) ;; *) \
			printf '%s' "$$out" | grep -v -e '^-- ' -e '^ninja: no work to do' || true; \
			echo "Kestrova built in $(BUILD)/bin with engine $$(cat third_party/pdfium/linux/VERSION)" ;; \
		esac

setup:
	@scripts/setup.sh

configure: setup
	@mkdir -p $(BUILD)
	@[ -f $(BUILD)/build.ninja ] || cmake -S . -B $(BUILD) -G Ninja -DCMAKE_CXX_FLAGS="-fdebug-prefix-map=$(CURDIR)=." \
		>$(BUILD)/configure.log 2>&1 \
		|| { cat $(BUILD)/configure.log; exit 1; }

# Every test, two at a time: a passing run ends in a line of counts and names the log that holds all the output
# (BUILD/Testing/test.log); a failing one shows the failed tests' output and fails.
test: all
	@tests/run.sh $(BUILD)

# A sample PDF printed by the real program through a private print system.
demo: all
	@scripts/demo.sh $(BUILD)

bench: all
	@scripts/setup.sh scripts/packages-bench.txt
	@bench/run.sh $(BUILD)

# Every test suite, the program and the tools under AddressSanitizer (with leak detection) and
# UndefinedBehaviorSanitizer, in a build of their own. Each process writes what the address and leak checkers
# find to build-asan/sanitizer/, so a fault in a program a test starts is seen even where the test expects it
# to fail; any report there fails the run. Undefined behaviour aborts the process that meets it, with its
# report on that process's standard error (the combined runtime writes it nowhere else): a test's own ends
# the test, a program's is a crash its test sees. The sanitizer answers the engine's dlopen itself, so the
# programs' own run path does not apply and the library path names bin/. LeakSanitizer does not follow
# __tls_get_addr (intercept_tls_get_addr=0): following it, its runtime now and then took a bogus range for a
# thread's dynamic TLS and crashed at exit.
ASAN_REPORTS := $(CURDIR)/build-asan/sanitizer
asan: setup
	@[ -f build-asan/build.ninja ] || cmake -S . -B build-asan -G Ninja -DKESTROVA_ASAN=ON >/dev/null
	@ninja -C build-asan --quiet
	@rm -rf $(ASAN_REPORTS) && mkdir -p $(ASAN_REPORTS)
	@LD_LIBRARY_PATH=$(CURDIR)/build-asan/bin \
		ASAN_OPTIONS=detect_leaks=1:intercept_tls_get_addr=0:log_path=$(ASAN_REPORTS)/asan \
		LSAN_OPTIONS=suppressions=$(CURDIR)/scripts/leaks.supp:print_suppressions=0 \
		UBSAN_OPTIONS=print_stacktrace=1:abort_on_error=1 \
		ctest --test-dir build-asan --output-on-failure -j2; status=$$?; \
		if [ -n "$$(ls $(ASAN_REPORTS))" ]; then cat $(ASAN_REPORTS)/*; echo "Sanitizer reports: $(ASAN_REPORTS)"; exit 1; fi; \
		exit $$status

# Every libFuzzer harness, built with clang under the address and undefined-behaviour sanitizers, run for
# FUZZ_SECONDS each, as many at once as there are cores (make fuzz FUZZ_SECONDS=1800). The corpora grow in
# build-fuzz/corpus/.
FUZZ_SECONDS ?= 60
fuzz: setup
	@scripts/setup.sh scripts/packages-fuzz.txt
	@mkdir -p build-fuzz
	@[ -f build-fuzz/build.ninja ] || CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DKESTROVA_FUZZ=ON \
		>build-fuzz/configure.log 2>&1 || { cat build-fuzz/configure.log; exit 1; }
	@ninja -C build-fuzz --quiet $$(ninja -C build-fuzz -t targets all | sed -n 's/^\([a-z_]*_fuzzer\): .*/\1/p')
	@fuzz/run.sh build-fuzz $(FUZZ_SECONDS)

LAST_COMMIT_TIME = $(shell git log -1 --format=%ct)

# The Debian package build/kestrova_VERSION_amd64.deb (CPack), built with Debian's hardened build flags, which
# lintian (pedantic) must find free of every tag that the package's overrides do not answer, and whose
# programs and engine hardening-check must find hardened (stack protector, fortified functions, read-only
# relocations, immediate binding; control-flow protection is not among Debian 12's flags). The build folder is
# configured for it first: the flags, and the time of the last commit, which its files and changelog carry, so
# that two packages of one commit are the same bytes. A build folder keeps the flags once it has made a package.
package: configure
	@scripts/setup.sh scripts/packages-package.txt
	@SOURCE_DATE_EPOCH=$(LAST_COMMIT_TIME) cmake -DKESTROVA_DEBIAN_BUILD_FLAGS=ON $(BUILD) \
		>$(BUILD)/configure.log 2>&1 || { cat $(BUILD)/configure.log; exit 1; }
	@$(MAKE) --no-print-directory all
	@ninja -C $(BUILD) --quiet package_documents package_manuals
	@cd $(BUILD) && rm -f kestrova_*.deb && SOURCE_DATE_EPOCH=$(LAST_COMMIT_TIME) cpack -G DEB >cpack.log 2>&1 \
		|| { cat cpack.log; exit 1; }
	@out=$$(lintian --pedantic --display-experimental --fail-on error,warning,info,pedantic,experimental \
		$(BUILD)/kestrova_*_amd64.deb 2>&1); status=$$?; \
		printf '%s' "$$out" | grep -v '^running with root privileges' || true; exit $$status
	@files=$$(mktemp -d) && dpkg-deb -x $(BUILD)/kestrova_*_amd64.deb $$files \
		&& hardening-check --quiet --nocfprotection $$files/usr/lib/kestrova/*; status=$$?; rm -rf $$files; \
		exit $$status
	@echo "Package: $$(ls $(BUILD)/kestrova_*_amd64.deb)"

# The package installed, upgraded, used by a new user and purged in a clean Debian root.
package-test: package
	@scripts/package-test.sh $(BUILD)

clean:
	@rm -rf $(BUILD) build-asan build-fuzz
