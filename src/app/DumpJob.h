#pragma once
#include <string>

// Prints the document loaded from file as JSON on stdout; returns the exit status.
int RunDumpJob(const std::string& file);
