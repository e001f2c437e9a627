# Build, run and test ZELTA SCU. `make run` and `make test` install what is missing first.
BUILD_DIR ?= build
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
# `make install` installs for the current user; PREFIX=/usr/local (as root) installs for everyone.
PREFIX ?= $(HOME)/.local
VERSION := $(shell grep -m1 -o 'ZeltaScu VERSION [0-9.]*' CMakeLists.txt | cut -d' ' -f3)

.PHONY: all build deps run test asan clean screenshot install uninstall dist

all: build

deps:
	@bash scripts/install-deps.sh

$(BUILD_DIR)/CMakeCache.txt:
	cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo

build: $(BUILD_DIR)/CMakeCache.txt
	cmake --build $(BUILD_DIR) -j$(JOBS)

run: deps
	@$(MAKE) --no-print-directory build
	@bash scripts/run.sh $(BUILD_DIR)

test: deps
	@$(MAKE) --no-print-directory build
	@bash scripts/test.sh $(BUILD_DIR)

# The same tests under AddressSanitizer and UndefinedBehaviorSanitizer.
asan: deps
	cmake --preset asan
	cmake --build --preset asan -j$(JOBS)
	@bash scripts/test.sh build-asan

# Retakes docs/main-window.png: the main window on the demo installation, under Xvfb.
screenshot: deps
	@$(MAKE) --no-print-directory build
	@env -u DISPLAY bash tools/demo/run-headless-demo.sh $(BUILD_DIR) >/dev/null
	cp $(BUILD_DIR)/demo/main-window.png docs/main-window.png

# The utility folder, its command, menu entry, icons, XPD file type and AppStream metadata.
install: deps
	@$(MAKE) --no-print-directory build
	@bash scripts/install.sh install "$(PREFIX)" "$(BUILD_DIR)"

# Removes exactly what `make install` put there; settings.ini stays.
uninstall:
	@bash scripts/install.sh uninstall "$(PREFIX)"

# $(BUILD_DIR)/zeltasc-<version>-linux-<machine>.tar.gz: the self-contained utility folder.
dist:
	@$(MAKE) --no-print-directory build
	@bash scripts/install.sh dist "$(BUILD_DIR)" "$(VERSION)"

clean:
	rm -rf $(BUILD_DIR) build-asan
