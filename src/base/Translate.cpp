#include "base/Translate.h"

#include <libintl.h>

std::string _(const char* msgId) {
    if (msgId == nullptr || *msgId == '\0') return {}; // gettext("") returns the catalog header
    return dgettext(KorvaneTextDomain, msgId);
}

std::string _(const std::string& msgId) {
    return _(msgId.c_str());
}

std::string FormatText(const std::string& format, std::initializer_list<std::string> args) {
    std::string result;
    result.reserve(format.size());
    auto next = args.begin();
    for (size_t i = 0; i < format.size(); ++i) {
        if (format[i] == '%' && i + 1 < format.size()) {
            if (format[i + 1] == '%') {
                result += '%';
                ++i;
                continue;
            }
            if (format[i + 1] == 's' && next != args.end()) {
                result += *next++;
                ++i;
                continue;
            }
        }
        result += format[i];
    }
    return result;
}

void BindTranslationFolder(const std::string& localeFolder) {
    bindtextdomain(KorvaneTextDomain, localeFolder.c_str());
    bind_textdomain_codeset(KorvaneTextDomain, "UTF-8");
}
