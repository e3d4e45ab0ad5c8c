// What the demo prints: lines of UTF-8 text, the shortcuts it finds with
// their fields read back from the files, and the saved settings.
#pragma once

#include <windows.h>

#include <map>
#include <string>
#include <vector>

namespace zoriza::demo {

// Lets the console show UTF-8 and keeps "\n" as it is.
void PrepareOutput();
void PrintLine(const std::wstring& text);
// `text` (lines ending in "\r\n") with every line indented.
void PrintIndented(const std::wstring& text, const std::wstring& indent);

// Every .lnk below the Desktop and the Start menu's Programs folder, by full
// path, with its last write time.
using LinkTimes = std::map<std::wstring, ULONGLONG>;
LinkTimes UserLinks();
// The links in `after` that are new or were written again since `before`,
// in the order they were written.
std::vector<std::wstring> WrittenSince(const LinkTimes& before, const LinkTimes& after);

// Prints one shortcut's fields as the file holds them; its target, or empty
// when the file does not load.
std::wstring PrintLink(const std::wstring& path);
// Prints the five saved settings; how many of them are saved.
int PrintSettings();

}  // namespace zoriza::demo
