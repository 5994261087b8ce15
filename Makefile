# SPDX-License-Identifier: GPL-3.0-or-later
# Two entry points: `make run` starts Binzo, `make test` builds and runs every test.
.PHONY: run test build deps asan clean

deps:
	@bash scripts/install-deps.sh

build: deps
	cmake --preset dev
	cmake --build --preset dev

run: build
	./build/dev/src/app/binzo

test: build
	ctest --preset dev
	$(MAKE) asan

asan: deps
	cmake --preset asan
	cmake --build --preset asan
	ctest --preset asan

clean:
	rm -rf build
