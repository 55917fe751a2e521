#include "model/IntegerLists.h"

#include <algorithm>

#include "model/KeyValues.h"

int TIntegerList::IndexOf(int32_t v) const {
    auto it = std::find(fItems.begin(), fItems.end(), v);
    return it == fItems.end() ? -1 : int(it - fItems.begin());
}

std::string TIntegerList::AsString() const {
    std::string s;
    for (size_t i = 0; i < fItems.size(); ++i) {
        if (i) s.push_back(';');
        s += std::to_string(fItems[i]);
    }
    return s;
}

void TIntegerList::SetAsString(std::string_view s) {
    fItems.clear();
    while (!s.empty()) {
        size_t p = s.find(';');
        if (auto v = ParseRecordInt(s.substr(0, p))) fItems.push_back(*v);
        if (p == std::string_view::npos) break;
        s.remove_prefix(p + 1);
    }
}
