// Everything outside the window that the form reaches, on Windows: the
// window and the unattended mode each make one for their run.
#pragma once

#include "main_window/main_window.h"
#include "platform/win32/server_requests.h"
#include "platform/win32/win32_environment.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_shell_links.h"

namespace zoriza {

struct Win32Services {
    explicit Win32Services(FolderOwner owner = FolderOwner::CurrentUser) : shell(requests, owner) {}

    // Bounds every request that may reach a server; the window's drive and
    // folder lists share it with the file system and the shortcuts.
    ServerRequests requests;
    Win32FileSystem files{requests};
    Win32Environment environment;
    Win32LanguageId languageIds;
    Win32Registry registry;
    Win32ShellLinks shell;

    FormServices Form() { return FormServices{files, environment, languageIds, registry, shell}; }
};

}  // namespace zoriza
