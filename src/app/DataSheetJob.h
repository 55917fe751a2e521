#pragma once
// `korvane-viewer --datasheet FILE HANDLE`: the "Show Datasheet..." look-up for one component of
// FILE, run as the window runs it, printing each datasheet found instead of opening it.
#include <string>

// Exit status: 0 one or more found; 1 the file cannot be opened, no component has that handle, it
// names no datasheet or none was found (one line on stderr).
int RunDataSheetJob(const std::string& file, int handle);
