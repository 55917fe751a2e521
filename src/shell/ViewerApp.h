#pragma once
// The viewer's start with a window: hand the file to a viewer that already runs, or show the main
// window, open the file and run until the window closes.
#include <string>

// File may be empty. Returns the process exit status.
int RunViewerWindow(int argc, char** argv, const std::string& file);
