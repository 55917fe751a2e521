#include "base/Translate.h"

#include <libintl.h>

std::string _(const char* MsgId) {
    if (MsgId == nullptr || *MsgId == '\0') return {}; // gettext("") returns the catalog header
    return dgettext(KorvaneTextDomain, MsgId);
}

std::string _(const std::string& MsgId) {
    return _(MsgId.c_str());
}

std::string FormatText(const std::string& Format, std::initializer_list<std::string> Args) {
    std::string Result;
    Result.reserve(Format.size());
    auto Next = Args.begin();
    for (size_t I = 0; I < Format.size(); ++I) {
        if (Format[I] == '%' && I + 1 < Format.size()) {
            if (Format[I + 1] == '%') {
                Result += '%';
                ++I;
                continue;
            }
            if (Format[I + 1] == 's' && Next != Args.end()) {
                Result += *Next++;
                ++I;
                continue;
            }
        }
        Result += Format[I];
    }
    return Result;
}

void BindTranslationFolder(const std::string& LocaleFolder) {
    bindtextdomain(KorvaneTextDomain, LocaleFolder.c_str());
    bind_textdomain_codeset(KorvaneTextDomain, "UTF-8");
}
