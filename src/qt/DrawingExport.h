#pragma once
// A drawing written out as the view shows it: a PNG picture, or a PDF or SVG file whose lines are
// vector paths and whose texts are text (selectable in a PDF viewer). All three go through the
// same drawing code as the window, only onto another QPaintDevice.
#include <optional>
#include <string>

class TSymbolCanvas;
class TSymbolFile;

enum class TExportFormat { Png, Pdf, Svg };

// The format a file name asks for by its extension (any case); none for other names.
std::optional<TExportFormat> ExportFormatOf(const std::string& fileName);

// Draws Doc as View shows it (its size, zoom, place, colours and draw mode; without the selection
// marks) into FileName: PNG at View's pixels, PDF and SVG on a page of View's size at 96 dots per
// inch, drawn four times finer. The file is written under a temporary name and renamed, so an
// earlier file stays whole when writing fails. False, with ErrorText, on failure.
bool ExportDrawing(TSymbolFile& doc, const TSymbolCanvas& view, const std::string& fileName,
                   TExportFormat format, std::string& errorText);
