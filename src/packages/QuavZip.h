#pragma once
// ZIP archives: reading and unpacking the packages and packed drawing archives, and writing
// archives. Unpacking treats every archive as hostile: nothing is ever written outside the
// destination folder, links are never created, and the amount written is bounded.
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

struct zip;

enum class TZipMode { zmClosed, zmRead, zmWrite, zmAppend };

// Misuse of the archive object (wrong mode) and archives that cannot be opened at all.
class EZipError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct TZipExtractLimits {
    // Largest total an archive may unpack to, counted on the bytes actually written.
    uint64_t MaxTotalBytes = uint64_t(4) << 30;
};

class IZipFile {
public:
    virtual ~IZipFile() = default;
    // Throws EZipError with the reader's message when the archive cannot be opened.
    virtual void Open(const std::string& zipName, TZipMode openMode) = 0;
    virtual void Close() = 0;
    // Only in zmWrite or zmAppend: adds a file deflated at level 6, under its own name or ZipName.
    virtual void Add(const std::string& fileName) = 0;
    virtual void Add(const std::string& fileName, const std::string& zipName) = 0;
    // Only in zmRead. Write the member below DestPath at its stored folder path; false, with
    // LastError() set, when the member is refused or cannot be written in full.
    virtual bool Extract(const std::string& fileName, const std::string& destPath) = 0;
    virtual bool Extract(int index, const std::string& destPath) = 0;
    // Only in zmRead. Checks every member before writing any, then writes them in stored order.
    // Returns -1 when all were written, else the index of the member that was refused or failed
    // (LastError() says why). A refused archive leaves DestDir as it was.
    virtual int ExtractAll(const std::string& destDir) = 0;
    // Members exclude folder entries.
    virtual int GetFileCount() const = 0;
    // Stored name with "/" between folders, in UTF-8 (code page 437 unless flagged UTF-8).
    virtual std::string GetFileName(int index) const = 0;
    // The translated reason of the last refusal or failure; empty after a success.
    virtual const std::string& LastError() const = 0;
};

class TZipFile : public IZipFile {
public:
    TZipFile() = default;
    TZipFile(const std::string& fileName, TZipMode openMode, TZipExtractLimits limits = {});
    ~TZipFile() override;
    TZipFile(const TZipFile&) = delete;
    TZipFile& operator=(const TZipFile&) = delete;

    void Open(const std::string& zipName, TZipMode openMode) override;
    void Close() override;
    void Add(const std::string& fileName) override;
    void Add(const std::string& fileName, const std::string& zipName) override;
    bool Extract(const std::string& fileName, const std::string& destPath) override;
    bool Extract(int index, const std::string& destPath) override;
    int ExtractAll(const std::string& destDir) override;
    int GetFileCount() const override;
    std::string GetFileName(int index) const override;
    const std::string& LastError() const override { return fLastError; }

    TZipMode Mode() const { return fMode; }
    const std::string& ZipName() const { return fZipName; }
    void SetLimits(const TZipExtractLimits& limits) { fLimits = limits; }

private:
    struct TMember {
        uint64_t Index;       // libzip's entry index
        std::string Name;     // as stored, "\" turned into "/"
        std::string SafePath; // relative path to write to; empty when the name is unsafe
    };

    void OpenReader();
    void CloseReader();
    void CloseWriter();
    void RequireReading() const;
    // Everything that can be told before writing: name, link, encryption, method, size.
    bool CheckMember(const TMember& member, uint64_t& declaredSize);
    bool WriteMember(const TMember& member, const std::string& destDir, uint64_t& written);
    bool Fail(const std::string& text);

    std::string fZipName;
    TZipMode fMode = TZipMode::zmClosed;
    zip* fZipReader = nullptr;
    zip* fZipWriter = nullptr;
    std::vector<TMember> fMembers;
    TZipExtractLimits fLimits;
    std::string fLastError;
};

// Opens FileName in OpenMode and hands out the shared reference the callers keep.
std::shared_ptr<IZipFile> CreateZipFile(const std::string& fileName, TZipMode openMode,
                                        TZipExtractLimits limits = {});

// The relative path a stored member name may be written to: "\" and "/" both separate folders,
// "." and empty parts are dropped. Empty when the name is absolute (leading separator or drive
// letter), climbs with "..", or names nothing.
std::string SafeMemberPath(const std::string& storedName);

// "4 GiB", "512 MiB", "100 KiB", "12 bytes": the size words of the limit message.
std::string FormatByteCount(uint64_t bytes);
