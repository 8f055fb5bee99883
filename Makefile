# Two commands for a fresh machine:
#   make test   installs what is missing, configures, builds and runs every test
#   make run    the same build, then starts the game
# Extra configure options go in CMAKE_OPTIONS, e.g.
#   make test CMAKE_OPTIONS=-DVEXEL_WERROR=ON
BUILD_DIR ?= build
BUILD_TYPE ?= RelWithDebInfo
JOBS ?= $(shell nproc)
CMAKE_OPTIONS ?=

.PHONY: all deps configure build test run clean

all: build

deps:
	@scripts/install-deps

configure: deps
	@cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) $(CMAKE_OPTIONS) > /dev/null

build: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS)

test: build
	@cd $(BUILD_DIR) && TZ=UTC SDL_AUDIODRIVER=dummy ctest --output-on-failure -j $(JOBS)

run: build
	@scripts/run-game $(BUILD_DIR)

clean:
	rm -rf $(BUILD_DIR)
