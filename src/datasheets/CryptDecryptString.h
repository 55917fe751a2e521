#pragma once
// Credentials kept in a settings file are scrambled so that they do not stand there in plain
// text. This hides them from a glance, it does not protect them: the file itself is private.
#include <string>

// UTF-8 text -> two upper-case hexadecimal digits per scrambled byte.
std::string ScrambleText(const std::string& text);
// The reverse; "" when a digit pair is not hexadecimal or the result is not UTF-8.
std::string UnscrambleText(const std::string& scrambled);
