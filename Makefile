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

# The 32-bit exe cannot run here: building it checks its imports and header (tests/exe).
mingw32: deps
	cmake --preset mingw32 >/dev/null
	cmake --build --preset mingw32 -j 2

exe: mingw mingw32

run: mingw
	scripts/run.sh build/mingw

unit: native
	ctest --preset native

# Adapter and end-to-end tests share one Wine prefix, wineserver and display per run.
wine-tests: mingw
	scripts/wine-session.sh build/mingw/wineprefix ctest --preset mingw

# The formatters' settings are .clang-format and pyproject.toml: a file they would change fails.
format-check: deps
	git ls-files '*.cpp' '*.h' '*.c' | xargs clang-format --dry-run --Werror
	black --check --quiet $$(git ls-files '*.py')

test: format-check unit mingw32 wine-tests
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
