#pragma once

#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

namespace tavi {

// A language is its code, as its catalogue is named: "en", "fr", "pt_BR". German is the game's own:
// its texts are the catalogues' keys, so it needs no catalogue and is always on offer.
inline constexpr const char* German = "de";

// True for a code a catalogue may be named by: two or three small letters, perhaps followed by "_"
// and a country in two capitals ("pt_BR").
bool IsLanguageCode(const std::string& text);

// The language on offer that a language or locale name stands for: "pt_BR.UTF-8@euro" is pt_BR when
// that is on offer, else pt; empty when neither is (C and POSIX never are).
std::string OfferedLanguage(const std::string& name, const std::function<bool(const std::string&)>& onOffer);

// The language to play in: --lang (`option`) wins, then the settings file's (`setting`), each the
// language on offer it stands for, or as it is when none is (it is then reported as missing); else
// the first entry of the locale variables (LANGUAGE, a list split at colons, then LC_ALL,
// LC_MESSAGES and LANG, in that order) that stands for a language on offer. German when none does.
std::string ChooseLanguage(const std::string& option, const std::string& setting,
                           const std::vector<std::string>& localeVariables,
                           const std::function<bool(const std::string&)>& onOffer);

// The folder's catalogue of a language: DIR/LANGUAGE/LC_MESSAGES/tavi.mo.
std::string CataloguePath(const std::string& localeDir, const std::string& language);
// The languages whose catalogue is in one of `localeDirs`, and German; sorted, each once.
std::vector<std::string> LanguagesOnOffer(const std::vector<std::string>& localeDirs);

// Makes `language` the one of every text and picture, reading its catalogue (tavi.mo) from the
// first of `localeDirs` that has one it can use. Each catalogue found there but refused (no
// regular file, too large, broken) adds a line to `refused` naming it and why. False, and German
// stays, when no catalogue can be used.
bool UseLanguage(const std::string& language, const std::vector<std::string>& localeDirs,
                 std::vector<std::string>* refused = nullptr);
const std::string& ActiveLanguage();

// The text in the active language, Windows-1252 like the German one it is looked up by. German,
// or a text the catalogue lacks, comes back as it is. The same text each time it is asked for,
// until the language changes: a long translation is never copied again per frame.
const std::string& Translate(const char* german);

// `text` with each "%s" filled with the next of `values`, for translated sentences with
// placeholders; a "%s" left without a value stays as it is.
std::string FillIn(const std::string& text, std::initializer_list<std::string> values);

// Marks a text for the catalogue where it is written; it is looked up by Translate where it is used.
constexpr const char* ForCatalogue(const char* german) { return german; }

// The picture to load for a media name: the active language's variant (media\<code>\<name>) of a
// picture that carries words, else the name itself.
std::string LocalisedMediaName(const std::string& mediaName);

}  // namespace tavi
