// The AppUserModelID a .lnk file carries, in the file's own bytes: the
// property store data block (signature 0xA0000009) holding property 5 of
// {9F4C2855-9F79-4B39-A8D0-E1D42DE1D5F3}. Read and written here because
// Wine's link object neither saves nor loads that block, while the Windows
// one does both.
#pragma once

#include <windows.h>
#include <shobjidl.h>

#include <cstdint>
#include <string>
#include <vector>

namespace zoriza {

// The ID in the shortcut file `link`; empty when it carries none, or the
// bytes are no shortcut.
std::wstring AppUserModelIdIn(const std::vector<std::uint8_t>& link);

// `link` carrying `id`: unchanged when it already does (as the Windows link
// object saves it); otherwise with one property store block holding only the
// ID in place of any it had, just before the terminal block.
std::vector<std::uint8_t> WithAppUserModelId(std::vector<std::uint8_t> link, const std::wstring& id);

// Gives the link object the ID through its property store, which the Windows
// link object then saves; an empty ID sets none.
void SetAppUserModelId(IShellLinkW& link, const std::wstring& id);

}  // namespace zoriza
