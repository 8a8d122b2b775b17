# The two commands of the README: `make run` and `make test`.
BUILD_DIR := build
# With DEB_HOST_ARCH=ARCH, built for that architecture by the release's cross
# compiler (scripts/cross-flags); its programs then run through qemu-user.
CONFIGURE := cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo $$(./scripts/cross-flags)

.PHONY: all build run test check-format media memcheck soak bench deb screenshots in-debian clean

all: build

# The game alone: no test framework needed.
build:
	@./scripts/install-deps build
	@$(CONFIGURE) -DBUILD_TESTING=OFF >/dev/null
	@cmake --build $(BUILD_DIR) -j2 --target quorvane

# Started from the repository root, so that ./media/ is found.
run: build
	./$(BUILD_DIR)/quorvane

test:
	@./scripts/install-deps test
	@$(CONFIGURE) -DBUILD_TESTING=ON >/dev/null
	@cmake --build $(BUILD_DIR) -j2
	@./scripts/run-tests $(BUILD_DIR)

# Fails on any C++ file that the checked-in .clang-format would change.
check-format:
	@./scripts/install-deps format
	@./scripts/check-format

# Regenerates every picture and sound; the results are committed.
media:
	python3 tools/make_media.py

# The suite built with AddressSanitizer, LeakSanitizer and UndefinedBehaviorSanitizer,
# in build-asan/.
memcheck:
	@./scripts/install-deps test
	@./scripts/memcheck

# The game played with random keys for SOAK_SECONDS, watching for crashes and
# growth of memory or descriptors. Each soak draws new keys and names their
# seed; SOAK_SEED=N replays them.
SOAK_SECONDS := 600
soak:
	@./scripts/install-deps test
	@$(CONFIGURE) >/dev/null
	@cmake --build $(BUILD_DIR) -j2 --target quorvane
	@./scripts/soak $(SOAK_SECONDS) $(BUILD_DIR)/quorvane

# Frame-cost benchmarks, under a private X server.
bench:
	@./scripts/install-deps bench
	@$(CONFIGURE) >/dev/null
	@cmake --build $(BUILD_DIR) -j2 --target quorvane_bench
	@./scripts/in-xvfb $(BUILD_DIR)/bench/quorvane_bench

# The Debian package, built from a copy of the tracked files, into dist/.
deb:
	@./scripts/install-deps deb
	@./scripts/make-deb

# Remakes docs/title.png and docs/play.png from the real game under Xvfb.
screenshots: build
	@./scripts/install-deps test
	@./scripts/screenshots

# A command in a clone of the repository inside a fresh chroot of a Debian
# release, as root: make in-debian RELEASE=forky COMMAND='make test'; ARCH=s390x
# (or any Debian architecture) for another architecture than the machine's.
RELEASE := trixie
ARCH :=
COMMAND := make test
in-debian:
	@./scripts/in-debian $(RELEASE) $(ARCH) sh -c '$(COMMAND)'

clean:
	rm -rf $(BUILD_DIR)
