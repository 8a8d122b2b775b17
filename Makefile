# The two commands of the README: `make run` and `make test`.
BUILD_DIR := build

.PHONY: all deps build run test media memcheck bench clean

all: build

deps:
	@./scripts/install-deps

build: deps
	@cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	@cmake --build $(BUILD_DIR) -j2

# Started from the repository root, so that ./media/ is found.
run: build
	./$(BUILD_DIR)/quorvane

test: build
	@./scripts/run-tests $(BUILD_DIR)

# Regenerates every picture and sound; the results are committed.
media:
	python3 tools/make_media.py

# The suite built with AddressSanitizer and LeakSanitizer, in build-asan/.
memcheck: deps
	@./scripts/memcheck

# Frame-cost benchmarks, under a private X server.
bench: build
	@xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" $(BUILD_DIR)/bench/quorvane_bench

clean:
	rm -rf $(BUILD_DIR)
