#pragma once
// Folder and file helpers of the shell.
#include <cstdint>
#include <string>
#include <vector>

// Creates Path and every missing parent; true when Path is a folder afterwards. "" is an error.
bool ForceFolder(const std::string& path);

// Makes Base + "/" + Relative a folder that only this user may enter and returns it with a
// trailing separator. Base, a desktop folder the user chose, is taken as it stands, links and all,
// and made when missing. Every folder of Relative is looked at without following links: it must be
// a real folder owned by this user and writable by nobody else, missing ones are made 0700, and the
// last one is set to 0700. Otherwise, and for an empty or climbing ("..") Relative, "" is returned
// with ErrorText set, and what is in the way is left alone: a link or a folder planted by someone
// else is never written through.
std::string ForcePrivateFolder(const std::string& base, const std::string& relative,
                               std::string* errorText = nullptr);

// Deletes the folder tree at Path silently; true when nothing is left at Path. A trailing
// separator is dropped first, and symbolic links are removed as links, never followed, so a link
// to a folder elsewhere leaves that folder and its content alone.
bool DeleteFolder(const std::string& path);

// Full paths of the plain files (hidden ones too, no folders, no descent) in Folder whose names
// match Mask ("*" any run, "?" one character, case ignored; "*.*" matches every name). The order
// is the same on every file system: names compared ignoring case, then exactly. A folder that
// does not exist gives an empty list.
std::vector<std::string> FindFiles(const std::string& folder, const std::string& mask);

// True when Name matches the file mask as FindFiles applies it.
bool MatchesFileMask(const std::string& name, const std::string& mask);

// The full, normalised path of Path (made absolute against the current folder). Linux has no
// short names to expand. Empty when nothing exists at Path.
std::string GetLongFileName(const std::string& path);

// Opens FileName with the application the desktop associates with its type. On failure shows
// the error box "Cannot open %s !" with the path and returns false.
bool OpenDocument(const std::string& fileName);

// The folder part of FileName without a trailing separator ("" when it has none).
std::string ExtractFileDir(const std::string& fileName);

// The bytes of FileName when it is a plain file of at most MaxBytes, else "": a missing file, a
// folder, a FIFO or a device (opened without waiting for a writer) or anything larger reads as
// nothing. For the small files the program keeps for itself, which anybody could replace.
std::string ReadSmallFile(const std::string& fileName, std::uintmax_t maxBytes);

// Text split at each line feed, every line without a carriage return before it; a final line
// break does not start another line.
std::vector<std::string> SplitTextLines(const std::string& text);
