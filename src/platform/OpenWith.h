#pragma once
// Opening a file with the application the desktop associates with its type.
#include <functional>
#include <string>

using TDocumentOpener = std::function<bool(const std::string& path)>;

// Asks the desktop to open Path; true when the request was accepted.
bool OpenWithAssociatedApplication(const std::string& path);

// Replaces the desktop call (tests, command-line jobs); an empty opener restores it. Returns the
// opener that was in place.
TDocumentOpener SetDocumentOpener(TDocumentOpener opener);
