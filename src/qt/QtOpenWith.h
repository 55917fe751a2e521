#pragma once
// Opening files through the desktop services of the running Qt GUI application.

// Makes OpenWithAssociatedApplication ask the desktop session through Qt.
void InstallQtDocumentOpener();
