#pragma once

#include <initializer_list>
#include <string>
#include <vector>

namespace tavi {

// The languages of the texts. German is the game's own: its texts are the catalogue's keys.
enum class Language { German, English };

// "de" or "en": a language by its code; false for anything else.
bool LanguageFromCode(const std::string& code, Language& language);
const char* LanguageCode(Language language);

// The language to play in: --lang wins, then the settings file's, then the first set of
// LANGUAGE, LC_ALL, LC_MESSAGES and LANG (in that order) -- English when it starts with "en".
// Empty strings are unset.
Language ChooseLanguage(const std::string& option, const std::string& setting,
                        const std::vector<std::string>& localeVariables);

// Makes `language` the one of every text and picture; English reads its catalogue (tavi.mo) from
// the first of `localeDirs` that has one it can use. Each catalogue found there but refused (no
// regular file, too large, broken) adds a line to `refused` naming it and why. False, and German
// stays, when no catalogue can be used.
bool UseLanguage(Language language, const std::vector<std::string>& localeDirs,
                 std::vector<std::string>* refused = nullptr);
Language ActiveLanguage();

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
