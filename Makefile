# The two everyday commands: `make run` and `make test`. Both set up a fresh machine themselves.
BUILD_DIR ?= build
BENCH_DIR ?= build-bench
PACKAGE_DIR ?= build-package
FUZZ_DIR ?= build-fuzz
# Seconds each fuzz target runs in `make fuzz`.
FUZZ_SECONDS ?= 20
FUZZ_TARGETS := settings dates numbers register reminders texts statements store filters
# The targets that parse files write each input to a file: in memory where there is room for it.
FUZZ_TMPDIR ?= $(if $(wildcard /dev/shm/.),/dev/shm,/tmp)
# Trials of each kill test and rounds of the shared-register tests in `make soak`.
SOAK_KILLS ?= 1000
SOAK_ROUNDS ?= 20
# SQLite page writes of a large change killed before in `make soak` (every other call always is).
SOAK_PAGES ?= 60
# Seconds each fuzz target runs in `make soak`.
SOAK_FUZZ_SECONDS ?= 600
GENERATOR := -G Ninja
# Warnings are errors whenever CI is set, whatever an earlier configure left in the cache.
WERROR := $(if $(CI),ON,OFF)
# The distribution's compiler and linker flags (hardening, -O2 -g). The tests' build and the
# package's are one build with these flags, so the tests run what is packaged and CI packages it.
DISTRIBUTION_FLAGS = "-DCMAKE_CXX_FLAGS=$$(dpkg-buildflags --get CPPFLAGS) $$(dpkg-buildflags --get CXXFLAGS)" \
    "-DCMAKE_EXE_LINKER_FLAGS=$$(dpkg-buildflags --get LDFLAGS)"

.PHONY: run test bench fuzz soak package format pictures bootstrap build configure clean

bootstrap:
	@scripts/bootstrap

# Built in batches of source files (a unity build, as CI's sanitizer build is): the same code in less
# compiler time; the targets whose files share names build file by file.
configure: bootstrap
	@cmake -S . -B $(BUILD_DIR) $(GENERATOR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUILLET_WERROR=$(WERROR) \
	    -DCMAKE_UNITY_BUILD=ON $(DISTRIBUTION_FLAGS) >/dev/null

build: configure
	cmake --build $(BUILD_DIR)

run: build
	@scripts/run $(BUILD_DIR)

test: build
	cd $(BUILD_DIR) && ctest --output-on-failure -j2

bench: bootstrap
	cmake -S . -B $(BENCH_DIR) $(GENERATOR) -DCMAKE_BUILD_TYPE=Release -DQUILLET_BUILD_TESTS=OFF -DQUILLET_BUILD_BENCHMARKS=ON -DQUILLET_WERROR=$(WERROR)
	cmake --build $(BENCH_DIR)
	@scripts/run-benchmarks $(BENCH_DIR)

# The Debian packages, built as the tests' build is (without the tests):
# $(PACKAGE_DIR)/quillet_<version>_<arch>.deb and quillet-cli_<version>_<arch>.deb. Their dates are
# SOURCE_DATE_EPOCH's, or the last commit's: two builds of one commit give the same bytes.
package: bootstrap
	@cmake -S . -B $(PACKAGE_DIR) $(GENERATOR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUILLET_BUILD_TESTS=OFF \
	    -DQUILLET_WERROR=$(WERROR) -DCMAKE_UNITY_BUILD=ON $(DISTRIBUTION_FLAGS) >/dev/null
	cmake --build $(PACKAGE_DIR)
	cd $(PACKAGE_DIR) && cpack -G DEB
	@ls $(PACKAGE_DIR)/quillet*.deb

# Every parser against libFuzzer for FUZZ_SECONDS each, from the corpus kept in the tree and with its
# format's dictionary. The corpus grows in a scratch copy (FUZZ_KEEP=1 merges what reached new code
# back into the tree); a finding stops the run and leaves its input in $(FUZZ_DIR)/findings.
fuzz:
	@scripts/bootstrap fuzz
	@cmake -S . -B $(FUZZ_DIR) $(GENERATOR) -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	    -DQUILLET_BUILD_TESTS=OFF -DQUILLET_BUILD_FUZZERS=ON -DQUILLET_WERROR=$(WERROR) >/dev/null
	cmake --build $(FUZZ_DIR) --target fuzz_targets
	@mkdir -p $(FUZZ_DIR)/findings
	@for name in $(FUZZ_TARGETS); do \
	    rm -rf $(FUZZ_DIR)/corpus/$$name && mkdir -p $(FUZZ_DIR)/corpus/$$name && \
	    cp tests/fuzz/corpus/$$name/* $(FUZZ_DIR)/corpus/$$name/ && \
	    echo "fuzz: $$name for $(FUZZ_SECONDS) s" && \
	    dict=tests/fuzz/dictionaries/$$name.dict; [ -f $$dict ] && dict_option=-dict=$$dict || dict_option=; \
	    TMPDIR=$(FUZZ_TMPDIR) $(FUZZ_DIR)/tests/fuzz/$${name}_fuzz $(FUZZ_DIR)/corpus/$$name -max_total_time=$(FUZZ_SECONDS) \
	        $$dict_option -artifact_prefix=$(FUZZ_DIR)/findings/$$name- -print_final_stats=1 >$(FUZZ_DIR)/$$name.log 2>&1 && \
	    grep -h 'number_of_executed_units' $(FUZZ_DIR)/$$name.log || \
	    { tail -n 60 $(FUZZ_DIR)/$$name.log; exit 1; }; \
	    if [ -n "$(FUZZ_KEEP)" ]; then \
	        TMPDIR=$(FUZZ_TMPDIR) $(FUZZ_DIR)/tests/fuzz/$${name}_fuzz -merge=1 tests/fuzz/corpus/$$name $(FUZZ_DIR)/corpus/$$name \
	            >>$(FUZZ_DIR)/$$name.log 2>&1 && echo "fuzz: $$name corpus kept in tests/fuzz/corpus/$$name"; fi; \
	done

# The long runs of the kill and shared-register tests, for a change to how files are written:
# every change killed before each of its calls (and 60 of a large change's SQLite page writes); then
# every parser fuzzed for SOAK_FUZZ_SECONDS, what it found new kept in the tree's corpus.
soak: build
	QUILLET_KILL_TRIALS=$(SOAK_KILLS) QUILLET_KILL_PAGES=$(SOAK_PAGES) $(BUILD_DIR)/tests/core/kill_tests --gtest_filter='Killed*:*/Killed*'
	$(BUILD_DIR)/tests/core/session/session_tests --gtest_filter='SharedRegister*' --gtest_repeat=$(SOAK_ROUNDS)
	$(MAKE) fuzz FUZZ_SECONDS=$(SOAK_FUZZ_SECONDS) FUZZ_KEEP=1

format:
	@command -v clang-format >/dev/null || { DEBIAN_FRONTEND=noninteractive apt-get install -y -qq clang-format >/dev/null; }
	git ls-files --cached --others --exclude-standard -- '*.cpp' '*.h' | \
	    while read -r file; do [ -f "$$file" ] && echo "$$file"; done | xargs -r clang-format -i

# Redraws the pictures under resources/ (they are committed; the build only embeds them).
pictures: configure
	cmake --build $(BUILD_DIR) --target draw_pictures
	QT_QPA_PLATFORM=offscreen $(BUILD_DIR)/resources/draw_pictures resources

clean:
	rm -rf $(BUILD_DIR) $(BENCH_DIR) $(FUZZ_DIR) $(PACKAGE_DIR)
