#pragma once
// Bill-of-materials records carried by drawing objects.
#include <memory>
#include <string>
#include <vector>

class TRecordReader;
class TJsonWriter;

class TBOM {
public:
    // Reads the record up to "ENDBOM."; the "BOM:" line has been consumed.
    void LoadFromReader(TRecordReader& reader);
    void Dump(TJsonWriter& w) const;
};

class TBOMList {
public:
    TBOM* Add();
    void Clear() { fList.clear(); }
    int Count() const { return int(fList.size()); }
    TBOM* Items(int i) const { return fList[size_t(i)].get(); }
    void Dump(TJsonWriter& w) const;

private:
    std::vector<std::unique_ptr<TBOM>> fList;
};
