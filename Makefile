# Front door. `make run` and `make test` work on a fresh Debian 12 machine.
.PHONY: all deps build run test test-asan test-windows build-windows-32 instalador fuzz bench package format lint clean

JOBS ?= $(shell nproc)

all: build

deps:
	@bash scripts/instalar-dependencias.sh

build: deps
	@cmake --preset default >/dev/null
	@cmake --build --preset default -j $(JOBS)

run: build
	@bash scripts/demo.sh

test: build
	@$(MAKE) --no-print-directory lint
	@ctest --preset default -j $(JOBS)
	@$(MAKE) --no-print-directory test-asan
	@$(MAKE) --no-print-directory test-windows
	@$(MAKE) --no-print-directory build-windows-32
	@$(MAKE) --no-print-directory fuzz

test-asan: deps
	@cmake --preset asan >/dev/null
	@cmake --build --preset asan -j $(JOBS)
	@ctest --preset asan -j $(JOBS)

# The Windows program, table tool, installer and tests, run under Wine; the
# end-to-end test installs the MSI and drives the window with the Linux build's helpers.
test-windows: build
	@cmake --preset windows >/dev/null
	@cmake --build --preset windows -j $(JOBS)
	@ctest --preset windows -j $(JOBS)

# The same for 32-bit Windows, built only: Wine here runs 64-bit programs only.
build-windows-32: deps
	@cmake --preset windows-32 >/dev/null
	@cmake --build --preset windows-32 -j $(JOBS)

# The installers: build-windows/imprime-rotulos-*-x64.msi and build-windows-32/imprime-rotulos-*-x86.msi.
instalador: deps
	@cmake --preset windows >/dev/null
	@cmake --build --preset windows -j $(JOBS) --target instalador
	@cmake --preset windows-32 >/dev/null
	@cmake --build --preset windows-32 -j $(JOBS) --target instalador
	@ls -1 build-windows/*.msi build-windows-32/*.msi

fuzz: deps
	@cmake --preset fuzz >/dev/null
	@cmake --build --preset fuzz -j $(JOBS)
	@bash scripts/fuzz.sh 60

bench: deps
	@cmake --preset release >/dev/null
	@cmake --build --preset release -j $(JOBS) --target rotulos_bench
	@./build-release/bin/rotulos_bench

package: build
	@cd build && cpack -G DEB

format:
	@git ls-files '*.cpp' '*.h' | xargs clang-format -i

# Formatting as checked in, and cppcheck over the sources.
lint: deps
	@git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run -Werror
	@cppcheck --std=c++20 --library=qt --library=windows --enable=warning,performance,portability --inline-suppr --quiet \
		--error-exitcode=1 -I tables -I labels -I form -I ui -I win32 tables labels form tools ui win32 app

clean:
	@rm -rf build build-asan build-fuzz build-release build-windows build-windows-32 demo
