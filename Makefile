# Three commands for people: build, run, test.
BUILD_DIR ?= build
JOBS ?= $(shell nproc 2>/dev/null || echo 2)

.PHONY: build run test bench deps clean package package-test

deps:
	@bash scripts/install-deps.sh

$(BUILD_DIR)/build.ninja: | deps
	cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo

build: deps $(BUILD_DIR)/build.ninja
	cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	@if [ ! -f $(BUILD_DIR)/bin/Kestavion.mdb ]; then $(BUILD_DIR)/bin/kestavion-initdb $(BUILD_DIR)/bin/Kestavion.mdb; fi
	$(BUILD_DIR)/bin/kestavion

test: build
	cd $(BUILD_DIR) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

# The .deb, built in its own folder without the tests and benchmarks.
PACKAGE_DIR ?= build-package
package: deps
	cmake -S . -B $(PACKAGE_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKESTAVION_TESTS=OFF \
	  -DCMAKE_DISABLE_FIND_PACKAGE_benchmark=ON
	cmake --build $(PACKAGE_DIR) -j $(JOBS) --target package

# Not part of `make test`: unpacks the .deb into a scratch folder and starts it offscreen.
package-test: package
	bash scripts/package-test.sh $(PACKAGE_DIR)

# The benchmarks on a generated shop (100,000 goods, 1,000,000 sales; built once into
# bench-data/, which takes about ten minutes), then checkouts with 1 and 4 tills on a
# throwaway PostgreSQL server beside the embedded file. See bench/README.md.
BENCH_DATA ?= $(CURDIR)/bench-data
bench: build
	mkdir -p $(BENCH_DATA)
	KESTAVION_BENCH_DATA=$(BENCH_DATA) QT_QPA_PLATFORM=offscreen $(BUILD_DIR)/bin/till_bench
	KESTAVION_BENCH_DATA=$(BENCH_DATA) QT_QPA_PLATFORM=offscreen $(BUILD_DIR)/bin/report_bench
	$(BUILD_DIR)/bin/server_checkout_bench

clean:
	rm -rf $(BUILD_DIR) $(PACKAGE_DIR)
