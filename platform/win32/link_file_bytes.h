// A shortcut file as bytes: read whole, and written whole beside the
// shortcut, through to the disk, before it is moved over the old file.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace zoriza {

// The file at `path`; none when it cannot be read or is too large to be a
// shortcut.
std::vector<std::uint8_t> ReadShortcutFile(const std::wstring& path);

// The temporary file beside the shortcut: ".zoriza-", the process and the
// call, so that two runs at once never write through one name. A shortcut
// path that Windows takes may be one whose temporary path is longer than
// MAX_PATH: that one is given in its extended-length form.
std::wstring TemporaryPathFor(const std::wstring& linkPath, std::uint32_t call);

// A full path in the extended-length form ("\\?\X:\...", "\\?\UNC\server\..."),
// which MAX_PATH does not bound. Windows takes such a path as it is, so
// `path` must already be full and normalised.
std::wstring ExtendedLengthPath(const std::wstring& path);

// The folder that holds `path`, without a final "\".
std::wstring FolderOf(const std::wstring& path);

// Removes the temporary files of this writer's name in `folder` that are
// older than any write still under way: those of a run that ended while it
// wrote (Esc, or the program ended, while a server kept a write waiting).
void RemoveStaleTemporaryFiles(const std::wstring& folder);

// The bytes reach the disk before the file is closed, so that a power cut
// after the move cannot leave a shortcut without them.
void WriteThrough(const std::wstring& path, const std::vector<std::uint8_t>& bytes);

// Moves `temporary` over `linkPath` in one step, written through; retried
// for a short while when another run or the Shell has the old file open.
void MoveOver(const std::wstring& temporary, const std::wstring& linkPath);

}  // namespace zoriza
