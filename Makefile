# Build, run and test ZELTA SCU. `make run` and `make test` install what is missing first.
BUILD_DIR ?= build
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
# `make install` installs for the current user; PREFIX=/usr/local (as root) installs for everyone.
PREFIX ?= $(HOME)/.local
VERSION := $(shell grep -m1 -o 'ZeltaScu VERSION [0-9.]*' CMakeLists.txt | cut -d' ' -f3)

.PHONY: all build program deps run test asan clean screenshot install uninstall dist deb

all: build

deps:
	@bash scripts/install-deps.sh

$(BUILD_DIR)/CMakeCache.txt:
	cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo

# Everything, the tests included (a build folder first made by `program` gets its tests back).
build: $(BUILD_DIR)/CMakeCache.txt
	@if grep -q '^BUILD_TESTING:BOOL=OFF' $(BUILD_DIR)/CMakeCache.txt; then \
	  cmake -S . -B $(BUILD_DIR) -DBUILD_TESTING=ON; fi
	cmake --build $(BUILD_DIR) -j$(JOBS)

# Only what an installation needs (the program and its icons), with the program's build
# dependencies alone: no test tools, no root.
program:
	@bash scripts/install.sh check-build-deps
	@if [ ! -f $(BUILD_DIR)/CMakeCache.txt ]; then \
	  cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=OFF; fi
	cmake --build $(BUILD_DIR) -j$(JOBS) --target zeltasc desktop_icons

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

# The program, its utility folder, command, menu entry, icons, XPD file type, AppStream metadata
# and manual page.
install: program
	@bash scripts/install.sh install "$(PREFIX)" "$(BUILD_DIR)"

# Removes what `make install` put there, the folders it made when they are left empty, and this
# program's default for XPD packages in your mimeapps.list; your settings stay in ~/.config.
uninstall:
	@bash scripts/install.sh uninstall "$(PREFIX)"

# $(BUILD_DIR)/zeltasc_<version>-1_<arch>.deb, made from the same build and layout as `install`;
# checked by lintian when it is installed (debian/zeltasc.lintian-overrides explains the rest).
deb: program
	@deb="$$(bash scripts/make-deb.sh $(BUILD_DIR))" && echo "$$deb" && \
	  if command -v lintian >/dev/null; then lintian --fail-on error,warning "$$deb"; fi

# $(BUILD_DIR)/zeltasc-<version>-linux-<machine>.tar.gz: the self-contained utility folder.
dist:
	@$(MAKE) --no-print-directory build
	@bash scripts/install.sh dist "$(BUILD_DIR)" "$(VERSION)"

clean:
	rm -rf $(BUILD_DIR) build-asan
