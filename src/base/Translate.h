#pragma once
// The one way user-visible texts are looked up: GNU gettext, domain "korvane-viewer". With no
// catalog bound the message id itself comes back, so the English texts work untranslated.
#include <initializer_list>
#include <string>

inline constexpr const char* KorvaneTextDomain = "korvane-viewer";

// Translated text as UTF-8.
std::string _(const char* msgId);
std::string _(const std::string& msgId);

// Replaces each "%s" in Format, left to right, by the next argument; "%%" stands for "%".
// Missing arguments leave "%s" as it is; surplus arguments are dropped. Translate the format
// first, then format, so that the catalog keys stay the fixed texts.
std::string FormatText(const std::string& format, std::initializer_list<std::string> args);

// Points gettext at the folder holding <language>/LC_MESSAGES/korvane-viewer.mo.
void BindTranslationFolder(const std::string& localeFolder);
