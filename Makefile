# The two commands: `make run` and `make test`. Both install what is missing,
# configure and build first.
#
# The shipped programs are i686. The Wine bench runs them where this machine
# runs 32-bit Wine, and always runs their x86_64 twin (BUILD/x86_64), so that
# it proves the same sources on machines that refuse 32-bit programs.
# BENCH_ARCH=x86_64 makes any machine behave as one of those.
BUILD ?= build
CMAKE_FLAGS ?=

.PHONY: all deps configure build test test-versions bench fuzz run play dist repro clean

all: build

deps:
	@scripts/install-deps $(BUILD)

# Says which builds the Wine bench runs, and why i686 does not where it cannot.
configure: deps
	@if why=$$(scripts/wine-probe $(BUILD)); then \
	    echo "Wine bench: the i686 programs and their x86_64 twin"; i686=ON; \
	else \
	    echo "Wine bench: the x86_64 twin only (i686 cannot run here: $$why)"; i686=OFF; \
	fi; \
	mkdir -p $(BUILD); \
	cmake -S . -B $(BUILD) -G Ninja -DBENCH_I686_WINE=$$i686 $(CMAKE_FLAGS) >$(BUILD)/configure.log 2>&1 \
	    || { cat $(BUILD)/configure.log; exit 1; }

build: configure
	cmake --build $(BUILD)

test: build
	scripts/with-display ctest --test-dir $(BUILD) --output-on-failure
	@cmake --build $(BUILD) --target sizes | grep bytes

# The end-to-end suite once in each Windows mode (test runs it in Windows 95
# and NT 4.0 besides Wine's default), on the programs that run here.
VERSIONS = win95 nt40 winxp win7 win10
test-versions: build
	@tests=$$(if scripts/wine-probe $(BUILD) >/dev/null; then echo '^e2e\.'; else echo '^x64\.e2e\.'; fi); \
	failed=""; \
	for mode in $(VERSIONS); do \
	    echo "== Windows mode $$mode"; \
	    BENCH_WINDOWS=$$mode scripts/with-display ctest --test-dir $(BUILD) --output-on-failure \
	        -R "$$tests" -E '\.(win95|nt40)$$|\.play$$' || failed="$$failed $$mode"; \
	done; \
	[ -z "$$failed" ] || { echo "failed in:$$failed"; exit 1; }; echo "passed in every mode: $(VERSIONS)"

# Speed and size beside their references (README); not part of test.
bench: build
	@tree=$(RUN_TREE); echo "Measuring the programs of $$tree"; \
	scripts/with-display scripts/bench $$tree $(BUILD)

# Fuzzes the text rules (tests/fuzz): each target FUZZ_SECONDS, niced, new
# inputs kept in BUILD/fuzz/found; stops at the first finding. Not part of test.
FUZZ_SECONDS ?= 300
FUZZ_TARGETS ?=
fuzz: deps
	@mkdir -p $(BUILD)/fuzz
	@cmake -S tests/fuzz -B $(BUILD)/fuzz -G Ninja -DZYNE_ROOT=$(CURDIR) >$(BUILD)/fuzz/configure.log 2>&1 \
	    || { cat $(BUILD)/fuzz/configure.log; exit 1; }
	nice -n 19 cmake --build $(BUILD)/fuzz
	tests/fuzz/run fuzz $(BUILD)/fuzz $(FUZZ_SECONDS) $(BUILD)/fuzz/found $(FUZZ_TARGETS)

# run and play take the i686 programs where they can run, else the twin.
RUN_TREE = $$(if scripts/wine-probe $(BUILD) >/dev/null; then echo $(BUILD); else echo $(BUILD)/x86_64; fi)

# SETS=de walks the German sets (dist/player-de, dist/plugin-de) instead.
SETS ?=
run: build
	@tree=$(RUN_TREE); echo "Running the programs of $$tree"; \
	scripts/with-display scripts/run-sample $$tree $(SETS)

# Opens the sample presentation in the player under Wine.
play: build
	@tree=$(RUN_TREE); echo "Running the programs of $$tree"; \
	scripts/with-display scripts/play-sample $$tree

# The sample install sets checked and packed, for each market:
# BUILD/dist/player.zip, plugin.zip, player-de.zip, plugin-de.zip and
# BUILD/dist/SHA256SUMS, and beside each zip the package manager's manifest
# (BUILD/dist/<set>-manifest/). What a set cannot say comes from these
# options (sample values unless given):
#   make dist PACKAGE_IDS="player=Maker.Player plugin=Maker.Plugin ..." \
#             PUBLISHER_URL=https://... DOWNLOAD_URL=https://.../ LICENSE=...
# With a certificate the sets' programs and the set checker are signed first:
#   make dist SIGN_CERT=cert.pem SIGN_KEY=key.pem   (or SIGN_CERT=vendor.p12)
#             [SIGN_PASS_FILE=...] [TIMESTAMP_URL=http://...]
SIGNING = $(foreach v,SIGN_CERT SIGN_KEY SIGN_PASS_FILE,$(if $($(v)),$(v)="$(abspath $($(v)))"))
dist: build
	$(SIGNING) cmake --build $(BUILD) --target archives

# Proves the builds reproducible: a second build from a copy of the sources in
# another folder gives the same programs and archives byte for byte (signed
# alike when a certificate is named).
repro: dist
	$(SIGNING) scripts/repro-check $(BUILD)

clean:
	@for m in $(BUILD)/wineprefix/bench-small $(BUILD)/x86_64/wineprefix/bench-small; do \
	    ! mountpoint -q $$m 2>/dev/null || umount $$m; done
	rm -rf $(BUILD)
