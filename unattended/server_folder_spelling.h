// A server folder as a command line gives it, against the folder as the disk
// spells it: one folder is one text, whatever case, trailing dots or blanks
// the command line used.
#pragma once

#include <string>

namespace zoriza {

class FileSystem;

// Why `folder` ("F:\VekPro") cannot name a server folder for the plan: a
// wildcard, a part that is only dots or blanks, or a length that leaves no
// room for the shortcuts' targets and icons; empty when it can.
std::wstring MalformedServerFolder(const std::wstring& folder);

// `folder` with "." and ".." taken away, the trailing dots and blanks of each
// part dropped, the drive letter in upper case and each part that is there
// spelled as the disk spells it ("f:\vekpro." gives "F:\VekPro"). Parts the
// disk does not hold, or a drive that cannot be read, keep their spelling.
std::wstring AsTheDiskSpellsIt(FileSystem& files, const std::wstring& folder);

}  // namespace zoriza
