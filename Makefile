# The two commands of the README: `make run` and `make test`. Both install what is missing
# (scripts/setup-deps) and build first.
BUILD ?= build
CMAKE_FLAGS ?=

.PHONY: all deps build run test clean

all: build

deps:
	@scripts/setup-deps

$(BUILD)/build.ninja:
	cmake -S . -B $(BUILD) -G Ninja $(CMAKE_FLAGS)

build: deps $(BUILD)/build.ninja
	cmake --build $(BUILD)

run: build
	@scripts/run-quire $(BUILD)

# Tests never touch the user's own data: they get a prefix of their own.
test: export QUIRE_PREFIX = $(abspath $(BUILD))/test-prefix
test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest -LE x11 --output-on-failure -j2
	@if ! (cd $(BUILD) && ctest -N -L x11 | grep -q 'Total Tests: 0'); then \
	  cd $(BUILD) && xvfb-run -a -s "-screen 0 1280x1024x24" ctest -L x11 --output-on-failure; \
	fi

clean:
	rm -rf $(BUILD)
