# The two entry points: `make run` and `make test`. Both install what is missing first.
.PHONY: run test deps format-check native mingw mingw32 unit wine-tests exe release fuzz clean

deps:
	@scripts/install-deps.sh

native: deps
	cmake --preset native >/dev/null
	cmake --build --preset native -j 2

mingw: deps
	cmake --preset mingw >/dev/null
	cmake --build --preset mingw -j 2

# Building an exe checks its imports and header (tests/exe).
mingw32: deps
	cmake --preset mingw32 >/dev/null
	cmake --build --preset mingw32 -j 2

exe: mingw mingw32

# ARCH=x86 runs the 32-bit exe.
ARCH ?= x64
run: $(if $(filter x86,$(ARCH)),mingw32,mingw)
	scripts/run.sh $(if $(filter x86,$(ARCH)),build/mingw32,build/mingw)

unit: native
	ctest --preset native

# Each exe's runs: the x64 one's, then the 32-bit one's where this machine runs 32-bit programs.
wine-tests: mingw mingw32
	ctest --preset mingw
	@if why=$$(scripts/runs-32bit.sh); then ctest --preset mingw32; \
	else echo "Skipped the 32-bit exe's Windows tests (WOW64 and Windows XP): $$why."; fi

# The formatters' settings are .clang-format and pyproject.toml: a file they would change fails.
format-check: deps
	git ls-files '*.cpp' '*.h' '*.c' | xargs clang-format --dry-run --Werror
	black --check --quiet $$(git ls-files '*.py')

test: format-check unit wine-tests
	tests/exe/signing.sh

# Both exes, and nothing the tests need, into dist/; signed when SIGN_PFX and SIGN_PASSWORD_FILE are set.
release: deps
	cmake --preset mingw >/dev/null
	cmake --build --preset mingw --target TarnvikAnalyzer -j 2
	cmake --preset mingw32 >/dev/null
	cmake --build --preset mingw32 -j 2
	scripts/release.sh

# Not part of make test: each parser of what the PC supplies, fuzzed for a bounded time.
fuzz:
	@scripts/install-deps.sh fuzz
	cmake --preset fuzz >/dev/null
	cmake --build --preset fuzz -j 2
	scripts/fuzz.sh build/fuzz 60

clean:
	rm -rf build dist
