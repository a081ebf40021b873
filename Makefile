# The project's entry points. `make run` and `make test` do their own set-up.
SHELL := /bin/bash
JOBS ?= $(shell nproc)
SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)

BUILD := build
BUILD_SAN := build-asan
BUILD_TSAN := build-tsan
BUILD_WIN := build-win32
BUILD_WEB := build-web
# The page's site: only the files a web host needs.
SITE := $(BUILD_WEB)/site
# emscripten's tools find their JavaScript parser among Debian's node modules.
export NODE_PATH := /usr/share/nodejs
CMAKE_GEN := -G Ninja

.PHONY: deps build sanitize tsan windows web-deps web serve-web test bench run package clean

deps:
	@tools/deps.sh

$(BUILD)/build.ninja:
	cmake -S . -B $(BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo

build: $(BUILD)/build.ninja
	cmake --build $(BUILD) -j $(JOBS)

$(BUILD_SAN)/build.ninja:
	cmake -S . -B $(BUILD_SAN) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Debug -DCMAKE_C_COMPILER=clang \
	    -DCMAKE_CXX_COMPILER=clang++ -DDOVEZI_SANITIZE=address,undefined -DDOVEZI_FUZZ=ON

sanitize: $(BUILD_SAN)/build.ninja
	cmake --build $(BUILD_SAN) -j $(JOBS)

$(BUILD_TSAN)/build.ninja:
	cmake -S . -B $(BUILD_TSAN) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Debug -DCMAKE_C_COMPILER=clang \
	    -DCMAKE_CXX_COMPILER=clang++ -DDOVEZI_SANITIZE=thread

# Only the threaded tests run under ThreadSanitizer, so only they are built.
TSAN_TARGETS := unit_streamthreads unit_playerthreads

tsan: $(BUILD_TSAN)/build.ninja
	cmake --build $(BUILD_TSAN) -j $(JOBS) --target $(TSAN_TARGETS)

$(BUILD_WIN)/build.ninja:
	cmake -S . -B $(BUILD_WIN) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release \
	    -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DDOVEZI_TESTS=OFF -DDOVEZI_BENCH=OFF

windows: deps $(BUILD_WIN)/build.ninja
	cmake --build $(BUILD_WIN) -j $(JOBS)

# The page: its CMake tree lies in $(BUILD_WEB)/.cmake, its site in $(SITE).
web-deps:
	@tools/web-deps.sh

# Configured again when this file changes, so that a tree made before keeps
# up with where the site goes.
$(BUILD_WEB)/.cmake/build.ninja: Makefile
	emcmake cmake -S . -B $(BUILD_WEB)/.cmake $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release -DDOVEZI_BENCH=OFF \
	    -DDOVEZI_PAGE_DIR=$(CURDIR)/$(SITE)

web: web-deps $(BUILD_WEB)/.cmake/build.ninja
	cmake --build $(BUILD_WEB)/.cmake -j $(JOBS)

serve-web: web
	@node tools/web/serve.mjs $(SITE)

test: deps build sanitize tsan windows web
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)
	ctest --test-dir $(BUILD_WEB)/.cmake --output-on-failure
	ctest --test-dir $(BUILD_SAN) --output-on-failure -j $(JOBS)
	ctest --test-dir $(BUILD_TSAN) --output-on-failure -L thread

bench: deps build web
	@bench/run.sh $(BUILD)

package: deps build
	cmake --build $(BUILD) --target package

run: deps build
	@tools/run.sh $(BUILD)/Dovezi

clean:
	rm -rf $(BUILD) $(BUILD_SAN) $(BUILD_TSAN) $(BUILD_WIN) $(BUILD_WEB) out
