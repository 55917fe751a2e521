#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Integers stored as one value joined by ";".
class TIntegerList {
public:
    std::vector<int32_t> fItems;

    int Count() const { return int(fItems.size()); }
    void Add(int32_t v) { fItems.push_back(v); }
    void Clear() { fItems.clear(); }
    int IndexOf(int32_t v) const;
    std::string AsString() const;
    // Pieces that are not integers are dropped; an empty text gives an empty list.
    void SetAsString(std::string_view s);
    bool operator==(const TIntegerList&) const = default;
};
