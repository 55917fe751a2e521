#pragma once
#include <string>

class TSymbolFile;

// Opens a file for a command-line job the way the window opens it: checks the type, loads the
// document and runs the connectivity update. False with a message in the user's terms.
bool OpenForJob(TSymbolFile& doc, const std::string& file, std::string& error);
