# The two commands of the README: `make demo` and `make test`. Both install what they need first.
BUILD      ?= build
NOGUI_BUILD ?= build-nogui
ASAN_BUILD ?= build-asan
FUZZ_BUILD ?= build-fuzz
WINDOWS_BUILD ?= build-windows
JOBS       ?= $(shell nproc 2>/dev/null || echo 2)
GENERATOR  := $(shell command -v ninja >/dev/null 2>&1 && echo "-G Ninja")
DEMO       ?= examples/sand-water-table.kx8d
FUZZ_SECONDS ?= 60

.PHONY: all deps build install package test test-nogui test-asan test-windows windows demo fuzz bench format clean

all: build

deps:
	@./scripts/install-deps.sh

build: deps
	@[ -f $(BUILD)/CMakeCache.txt ] || cmake -S . -B $(BUILD) $(GENERATOR) -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD) -j $(JOBS)

# The programs, the engine, the manuals, examples, manual pages, desktop entry and icons under
# PREFIX (DESTDIR puts them under another root), and the Python package into the system
# interpreter's packages there: the layout of the Debian packages, which `make package` builds
# into $(BUILD)/ (kolmar_<version>_<arch>.deb, python3-kolmar_<version>_<arch>.deb).
PREFIX ?= /usr/local
install: build
	cmake --install $(BUILD) --prefix $(PREFIX)

package: build
	cd $(BUILD) && cpack -G DEB

# The Windows tests (label windows) follow when Wine is there (the install script puts it there;
# looked for when the recipe runs, after the install).
test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)
	@if command -v wine64 >/dev/null || [ -x /usr/lib/wine/wine64 ] || command -v wine >/dev/null; \
	then $(MAKE) --no-print-directory test-windows; \
	else echo "Wine not found: the Windows tests were not run"; fi

# The engine library, the runner and their tests cross-built for Windows with MinGW-w64
# (cmake/mingw-w64-x86_64.cmake), and the folder zipped: build-windows/dist/kolmar-*-windows-x64.zip.
# Optimised as the Linux build is (-O2), without debug information, which makes the static
# links of the test programs slow.
windows: deps
	@[ -f $(WINDOWS_BUILD)/CMakeCache.txt ] || cmake -S . -B $(WINDOWS_BUILD) $(GENERATOR) -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG" -DCMAKE_C_FLAGS_RELEASE="-O2 -DNDEBUG" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DKOLMAR_HOST_RUNNER=$(abspath $(BUILD))/bin/kolmar
	cmake --build $(WINDOWS_BUILD) -j $(JOBS)
	cmake --build $(WINDOWS_BUILD) --target windows_dist

# The Windows build's tests under Wine, in a Wine prefix of its own inside build-windows; the
# comparison with the Linux runner needs the Linux build (make build).
test-windows: windows
	cd $(WINDOWS_BUILD) && ctest --output-on-failure -j $(JOBS) -L windows

# The engine, the model libraries and the runner alone, as for a server without Qt.
test-nogui: deps
	@[ -f $(NOGUI_BUILD)/CMakeCache.txt ] || cmake -S . -B $(NOGUI_BUILD) $(GENERATOR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKOLMAR_GUI=OFF -DCMAKE_DISABLE_FIND_PACKAGE_Qt6=ON
	cmake --build $(NOGUI_BUILD) -j $(JOBS)
	cd $(NOGUI_BUILD) && ctest --output-on-failure -j $(JOBS)

test-asan: deps
	@[ -f $(ASAN_BUILD)/CMakeCache.txt ] || cmake -S . -B $(ASAN_BUILD) $(GENERATOR) -DCMAKE_BUILD_TYPE=Debug -DKOLMAR_SANITIZE=ON -DKOLMAR_BENCH=OFF
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 ctest --output-on-failure -j $(JOBS)

# Runs the bundled example through the command-line runner in a scratch copy of examples/.
demo: build
	@rm -rf $(BUILD)/demo && mkdir -p $(BUILD)/demo && cp examples/*.kx8d $(BUILD)/demo/
	$(BUILD)/bin/kolmar run $(BUILD)/demo/$(notdir $(DEMO)); status=$$?; \
	echo; echo "Report:    $(abspath $(BUILD))/demo/$(basename $(notdir $(DEMO))).kx8o"; \
	echo "Run notes: $(abspath $(BUILD))/demo/$(basename $(notdir $(DEMO))).kx8r"; \
	echo "Plot data: $(abspath $(BUILD))/demo/$(basename $(notdir $(DEMO))).kx8p"; exit $$status

# libFuzzer on every reader: the project files (program and engine), the plot file, the numeric
# field's expressions and names.dat, each for FUZZ_SECONDS from its seed corpus. The plot seeds
# come from analysing the examples with the fuzz build's runner (tests/fuzz/seed_corpus.py).
FUZZ_TARGETS := fuzz_project_reader fuzz_engine_input fuzz_plot_reader fuzz_evaluator fuzz_names_dat
fuzz:
	@./scripts/install-deps.sh fuzz
	@[ -f $(FUZZ_BUILD)/CMakeCache.txt ] || CC=clang CXX=clang++ cmake -S . -B $(FUZZ_BUILD) $(GENERATOR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKOLMAR_FUZZ=ON -DKOLMAR_TESTS=ON -DKOLMAR_BENCH=OFF -DKOLMAR_GUI=OFF
	cmake --build $(FUZZ_BUILD) -j $(JOBS) --target $(FUZZ_TARGETS) kolmar Kolmar2017_DLL
	mkdir -p $(FUZZ_BUILD)/corpus && cp examples/*.kx8d tests/model/data/*.kx* $(FUZZ_BUILD)/corpus/ 2>/dev/null || true
	python3 tests/fuzz/seed_corpus.py $(FUZZ_BUILD)
	$(FUZZ_BUILD)/bin/fuzz_project_reader -max_total_time=$(FUZZ_SECONDS) $(FUZZ_BUILD)/corpus
	cd $(FUZZ_BUILD) && bin/fuzz_engine_input -max_total_time=$(FUZZ_SECONDS) corpus
	$(FUZZ_BUILD)/bin/fuzz_plot_reader -max_total_time=$(FUZZ_SECONDS) -dict=tests/fuzz/plot_reader.dict -artifact_prefix=$(FUZZ_BUILD)/ $(FUZZ_BUILD)/corpus-fuzz_plot_reader
	$(FUZZ_BUILD)/bin/fuzz_evaluator -max_total_time=$(FUZZ_SECONDS) -dict=tests/fuzz/evaluator.dict -artifact_prefix=$(FUZZ_BUILD)/ $(FUZZ_BUILD)/corpus-fuzz_evaluator
	$(FUZZ_BUILD)/bin/fuzz_names_dat -max_total_time=$(FUZZ_SECONDS) -dict=tests/fuzz/names_dat.dict -artifact_prefix=$(FUZZ_BUILD)/ $(FUZZ_BUILD)/corpus-fuzz_names_dat

bench: build
	@for b in $(BUILD)/bin/bench_*; do [ -x "$$b" ] && "$$b"; done; true

format:
	git ls-files '*.cpp' '*.h' '*.c' | xargs clang-format -i

clean:
	rm -rf $(BUILD) $(NOGUI_BUILD) $(ASAN_BUILD) $(FUZZ_BUILD) $(WINDOWS_BUILD)
