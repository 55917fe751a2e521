#pragma once
// Settings files in the classic profile format: "[Section]" lines and "Key=Value" lines. Sections
// and keys are found ignoring ASCII case; values are kept byte for byte (no quoting, no escapes);
// Booleans are written "1"/"0" and read as any non-zero integer. Lines that are neither are kept
// as they stand when the file is written back. Texts that would break the line structure are not
// written as such: line breaks and NUL in a value become blanks, and a key or section name that
// is empty or holds one (or "=" in a key, "]" in a section) is not written at all.
#include <string>
#include <vector>

class TIniFile {
public:
    // Reads FileName when it exists; a missing or unreadable file is an empty one.
    explicit TIniFile(std::string fileName);

    const std::string& FileName() const { return fFileName; }

    bool SectionExists(const std::string& section) const;
    bool ValueExists(const std::string& section, const std::string& key) const;
    std::string ReadString(const std::string& section, const std::string& key, const std::string& def) const;
    // The value's leading integer (decimal, or hexadecimal after "0x"/"$"); Def when there is none.
    long ReadInteger(const std::string& section, const std::string& key, long def) const;
    bool ReadBool(const std::string& section, const std::string& key, bool def) const;
    std::vector<std::string> ReadSection(const std::string& section) const; // the keys, in file order
    std::vector<std::string> ReadSections() const;

    void WriteString(const std::string& section, const std::string& key, const std::string& value);
    void WriteInteger(const std::string& section, const std::string& key, long value);
    void WriteBool(const std::string& section, const std::string& key, bool value);
    void EraseSection(const std::string& section);
    void DeleteKey(const std::string& section, const std::string& key);

    // Writes the file through a temporary file in the same folder renamed over the old one, so a
    // crash or a full disk never leaves half a file. The folder is made when missing. Mode: the
    // permissions of a new file (an existing file keeps its own). False, with ErrorText, on failure.
    bool UpdateFile(std::string* errorText = nullptr, unsigned mode = 0644) const;

private:
    struct TLine {
        std::string Text; // the line as read; written back as it stands unless its value changed
        std::string Key;  // "" for lines that are neither section nor key
        std::string Value;
    };
    struct TSection {
        std::string Name;
        std::vector<TLine> Lines;
    };
    const TSection* Find(const std::string& section) const;
    TSection& FindOrAdd(const std::string& section);

    std::string fFileName;
    std::vector<std::string> fPreamble; // lines before the first section
    std::vector<TSection> fSections;
    // Written back the way the file came: line ends and byte-order mark. A new file gets LF.
    bool fCrLf = false;
    bool fByteOrderMark = false;
};
