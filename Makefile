# The two commands: `make run` and `make test`. Both install what is missing,
# configure and build first.
BUILD ?= build
CMAKE_FLAGS ?=

.PHONY: all deps configure build test run play clean

all: build

deps:
	@scripts/install-deps

$(BUILD)/build.ninja:
	cmake -S . -B $(BUILD) -G Ninja $(CMAKE_FLAGS)

configure: deps $(BUILD)/build.ninja

build: configure
	cmake --build $(BUILD)

test: build
	scripts/with-display ctest --test-dir $(BUILD) --output-on-failure
	@cmake --build $(BUILD) --target sizes | grep bytes

run: build
	scripts/with-display scripts/run-sample $(BUILD)

# Opens the sample presentation in the player under Wine.
play: build
	scripts/with-display scripts/play-sample $(BUILD)

clean:
	rm -rf $(BUILD)
