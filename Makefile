# The two set-up commands: `make run` and `make test`. Both install what is missing first.
BUILD      ?= build
ASAN_BUILD ?= build-asan
JOBS       ?= 2
CMAKE_GEN  := -G Ninja

.PHONY: all deps configure build run test test-core test-asan bench screenshots fuzz soak clean

all: build

deps:
	@scripts/install-deps

configure: deps
	@cmake -S . -B $(BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null

build: configure
	@cmake --build $(BUILD) -j$(JOBS)

# The editor with a simulated receiver holding the sample data, so that downloads and
# uploads work without hardware.
run: build
	@$(BUILD)/bin/orviedit --simulator

test: build
	@cd $(BUILD) && ctest -j$(JOBS) --output-on-failure
	@$(MAKE) --no-print-directory test-asan

# The Qt-free core's tests once more, built with AddressSanitizer and UndefinedBehaviorSanitizer.
test-asan: deps
	@cmake -S . -B $(ASAN_BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Debug \
	    -DORVI_CORE_ONLY=ON -DORVI_SANITIZE=ON >/dev/null
	@cmake --build $(ASAN_BUILD) -j$(JOBS)
	@cd $(ASAN_BUILD) && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
	    LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp:fast_unwind_on_malloc=0 \
	    ctest -j$(JOBS) --output-on-failure

# The pictures in docs/, taken from the editor under a virtual X display.
screenshots: build
	@LANG=de_DE.UTF-8 LC_ALL=de_DE.UTF-8 TZ=Europe/Zurich xvfb-run -a -s "-screen 0 1280x1024x24" \
	    $(BUILD)/bin/orviedit-screenshots docs

# The fuzz targets of tests/fuzz, built with clang's libFuzzer and the sanitizers, each run
# for FUZZ_SECONDS; what they find goes to FUZZ_WORK/<target>/crashes/.
FUZZ_BUILD   ?= build-fuzz
FUZZ_SECONDS ?= 60
FUZZ_WORK    ?= /tmp/orvi-fuzz
FUZZ_TARGETS ?= orvd gpx pointclip link simulator orvg propset archive mapclip datatypes protocols pvt

fuzz:
	@scripts/install-deps --fuzz
	@cmake -S . -B $(FUZZ_BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	    -DCMAKE_CXX_COMPILER=$$(command -v clang++-14 || command -v clang++) \
	    -DORVI_CORE_ONLY=ON -DORVI_SANITIZE=ON -DORVI_FUZZ=ON >/dev/null
	@cmake --build $(FUZZ_BUILD) -j$(JOBS) --target $(addprefix orvi_fuzz_,$(FUZZ_TARGETS))
	@scripts/fuzz $(FUZZ_BUILD) $(FUZZ_WORK) $(FUZZ_SECONDS) $(FUZZ_TARGETS)

bench: build
	@$(BUILD)/bin/orvi-bench

# Upload and download round trips through orvi against a simulated receiver that misbehaves
# at random, unpaced and at 9600 baud, for SOAK_SECONDS; fails when a record comes back wrong.
SOAK_SECONDS ?= 300

soak: build
	@$(BUILD)/bin/orvi-soak --seconds $(SOAK_SECONDS)

clean:
	rm -rf $(BUILD) $(ASAN_BUILD)
