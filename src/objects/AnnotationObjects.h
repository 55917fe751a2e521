#pragma once
// Annotation objects: leaders, item numbers, revision triangles, pictures and tables.
#include "objects/ShapeObjects.h"

class TSymbolObjectLeader : public TSymbolObject {
public:
    TSymbolObjectLeader() : TSymbolObject(somLeader) {}
    const char* ClassName() const override { return "TSymbolObjectLeader"; }

    std::string fMainNumber;
    std::string fSubNumber;
    TItemNumberLayout fLayout; // a copy of the document's layout of fLeaderType
    TItemNumberLayouts fLeaderType = layout_Leader;

    void SetDefaults() override;
    bool LoadOwnKey(TRecordReader& reader, const std::string& key, const std::string& value) override;
    void UpdateItemLayout(const TItemNumberLayoutSet& layouts) override;
    // The main number, then "." and the sub number when there is one.
    std::string Caption() const;

protected:
    explicit TSymbolObjectLeader(TSymbolObjectMainType mainType) : TSymbolObject(mainType) {}
    void DumpFields(TJsonWriter& w) const override;
};

class TSymbolObjectItemNumber : public TSymbolObjectLeader {
public:
    TSymbolObjectItemNumber() : TSymbolObjectLeader(somItemNumber) { fLeaderType = layout_Item1; }
    const char* ClassName() const override { return "TSymbolObjectItemNumber"; }

    int32_t fBOMIndex = -1; // the BOM record of the owning component it numbers

    void SetDefaults() override;
    bool LoadOwnKey(TRecordReader& reader, const std::string& key, const std::string& value) override;

protected:
    void DumpFields(TJsonWriter& w) const override;
};

class TSymbolObjectRevTriangle : public TSymbolObject {
public:
    TSymbolObjectRevTriangle() : TSymbolObject(somRevisionTriangle) {}
    const char* ClassName() const override { return "TSymbolObjectRevTriangle"; }
};

class TSymbolObjectImage : public TSymbolObject2Point {
public:
    TSymbolObjectImage() : TSymbolObject2Point(somImage) {}
    const char* ClassName() const override { return "TSymbolObjectImage"; }
};

class TSymbolObjectTable : public TSymbolObject {
public:
    TSymbolObjectTable() : TSymbolObject(somTable) {}
    const char* ClassName() const override { return "TSymbolObjectTable"; }
};
