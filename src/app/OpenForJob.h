#pragma once
#include <string>

class TSymbolFile;
class TTempDirs;

// Opens a file for a command-line job the way the window opens it: tells the type by the
// extension, unpacks ZIP packages and packed drawing archives into folders of tempDirs, loads the
// drawing and runs the connectivity update. False with a message in the user's terms.
bool OpenForJob(TSymbolFile& doc, const std::string& file, TTempDirs& tempDirs, std::string& error);
