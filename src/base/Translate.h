#pragma once
// The one way user-visible texts are looked up. The texts in the code are the English message ids;
// the translations come from GNU gettext catalogs (msgfmt's ".mo" files) of the text domain
// "default", one per language in <locale folder>/<code>/LC_MESSAGES/default.mo. The language is
// chosen once, before the first window, and stays for the life of the process.
#include <initializer_list>
#include <string>
#include <vector>

inline constexpr const char* KorvaneTextDomain = "default";
// The built-in language, which needs no catalog.
inline constexpr const char* BuiltInLanguage = "en";

// Translated text as UTF-8, or msgId itself when the current catalog has no translation.
std::string _(const char* msgId);
std::string _(const std::string& msgId);

// Marks a text for the catalog template where it is stored and translated later, at the moment it
// is shown (tables of captions, texts handed to a helper that calls _()).
constexpr const char* N_(const char* msgId) {
    return msgId;
}

// Replaces each "%s" in Format, left to right, by the next argument; "%%" stands for "%".
// Missing arguments leave "%s" as it is; surplus arguments are dropped. Translate the format
// first, then format, so that the catalog keys stay the fixed texts.
std::string FormatText(const std::string& format, std::initializer_list<std::string> args);

// The language codes that have a catalog of the domain below LocaleFolder, sorted, with "en"
// first whether or not it has a catalog.
std::vector<std::string> CatalogLanguages(const std::string& localeFolder);

// Switches to Language's catalog below LocaleFolder. "en", an empty code, a code that is not a
// plain folder name, and a missing or damaged catalog all leave the texts untranslated; false
// tells that a catalog was wanted and not found. Not for use while other threads translate.
bool UseLanguage(const std::string& localeFolder, const std::string& language);

// The code of the catalog in use, "en" when none.
std::string CurrentLanguage();
