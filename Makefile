# SPDX-License-Identifier: GPL-3.0-or-later
# Two entry points: `make run` starts Binzo, `make test` builds and runs every test.
.PHONY: run test build deps asan package clean

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

package: build
	cd build/dev && cpack

clean:
	rm -rf build
