# The two everyday commands: `make run` and `make test`. Both set up a fresh machine themselves.
BUILD_DIR ?= build
BENCH_DIR ?= build-bench
GENERATOR := -G Ninja
# Warnings are errors whenever CI is set, whatever an earlier configure left in the cache.
WERROR := $(if $(CI),ON,OFF)

.PHONY: run test bench format pictures bootstrap build configure clean

bootstrap:
	@scripts/bootstrap

configure: bootstrap
	@cmake -S . -B $(BUILD_DIR) $(GENERATOR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUILLET_WERROR=$(WERROR) >/dev/null

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

format:
	@command -v clang-format >/dev/null || { DEBIAN_FRONTEND=noninteractive apt-get install -y -qq clang-format >/dev/null; }
	git ls-files --cached --others --exclude-standard -- '*.cpp' '*.h' | \
	    while read -r file; do [ -f "$$file" ] && echo "$$file"; done | xargs -r clang-format -i

# Redraws the pictures under resources/ (they are committed; the build only embeds them).
pictures: configure
	cmake --build $(BUILD_DIR) --target draw_pictures
	QT_QPA_PLATFORM=offscreen $(BUILD_DIR)/resources/draw_pictures resources

clean:
	rm -rf $(BUILD_DIR) $(BENCH_DIR)
