# Three commands for people: build, run, test.
BUILD_DIR ?= build
JOBS ?= $(shell nproc 2>/dev/null || echo 2)

.PHONY: build run test deps clean

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

clean:
	rm -rf $(BUILD_DIR)
