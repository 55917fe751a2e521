#pragma once
// The folders the desktop sets aside for application files, read the way the XDG base-directory
// rules say (an unset, empty or relative variable falls back to the default below $HOME).
// Every function returns an absolute path without a trailing separator.
#include <string>

// $TMPDIR, else /tmp.
std::string KnownTempFolder();
// Per-user settings that would roam with the user: $XDG_CONFIG_HOME, else ~/.config.
std::string KnownRoamingDataFolder();
// Per-user data that stays on this machine and may be thrown away: $XDG_CACHE_HOME, else ~/.cache.
std::string KnownLocalDataFolder();
// Data shared by all the user's sessions. Linux has no all-users folder that ordinary users may
// write, so this is the per-user data folder: $XDG_DATA_HOME, else ~/.local/share.
std::string KnownCommonDataFolder();
// The user's home folder: $HOME, else the password database entry.
std::string KnownHomeFolder();
// Base name (without folder and extension) of the running program file.
std::string KnownProgramFileBaseName();
// The folder of the running program; "" when it cannot be told.
std::string KnownProgramFolder();
