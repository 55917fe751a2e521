#include "app/OpenForJob.h"

#include <filesystem>

#include "model/KeyValues.h"
#include "model/SymbolFile.h"

bool OpenForJob(TSymbolFile& doc, const std::string& file, std::string& error) {
    namespace fs = std::filesystem;
    std::string ext = UpperAscii(fs::path(file).extension().string());
    std::error_code ec;
    if (fs::is_directory(file, ec)) {
        error = "\"" + file + "\" is a folder, not a drawing file.";
        return false;
    }
    if (!fs::exists(file, ec)) {
        error = "The file \"" + file + "\" does not exist.";
        return false;
    }
    if (ext != ".KDF" && ext != ".SYM") {
        error = "\"" + file + "\" is not a file type the viewer opens (.kdf, .sym, .zip, .kdx).";
        return false;
    }
    if (!doc.LoadFromFile(file)) {
        error = doc.LastError();
        return false;
    }
    return true;
}
