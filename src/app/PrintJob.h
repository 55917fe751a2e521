#pragma once
#include <string>

// korvane-viewer --print OUT.pdf FILE: the print-preview pages of FILE (a packed drawing archive)
// printed, in order, into the one PDF file outPdf. Exit status: 0 when at least one page file was
// printed (damaged page files are named on stderr and left out); 1 with one line on stderr when
// FILE cannot be opened, has no print pages, none of them could be printed, or outPdf cannot be
// written. outPdf appears only complete.
int RunPrintJob(const std::string& outPdf, const std::string& file);
