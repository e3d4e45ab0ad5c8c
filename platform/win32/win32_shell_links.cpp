#include "platform/win32/win32_shell_links.h"

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include "platform/win32/com_ptr.h"
#include "platform/win32/unique_handle.h"
#include "platform/win32/win32_error.h"

namespace zoriza {

namespace {

constexpr std::size_t kLongestPath = 32768;
// Beside the shortcut while it is being written.
constexpr wchar_t kTemporarySuffix[] = L".zoriza-new";

class Win32ShortcutFile : public ShortcutFile {
public:
    explicit Win32ShortcutFile(std::wstring linkPath) : linkPath_(std::move(linkPath)) {
        CheckCom(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                  link_.PutVoid()));
    }

    // A target on a drive that is not there answers S_FALSE, and is stored as given.
    void SetTargetPath(const std::wstring& path) override { CheckCom(link_->SetPath(path.c_str())); }
    void SetWindowStyle(std::int16_t showCommand) override { CheckCom(link_->SetShowCmd(showCommand)); }
    void SetHotkey(const std::wstring& hotkey) override {
        if (!hotkey.empty()) throw AppError(kInvalidProcedureCall, L"Invalid procedure call or argument");
        CheckCom(link_->SetHotkey(0));
    }
    void SetIconLocation(const std::wstring& location) override {
        CheckCom(link_->SetIconLocation(location.c_str(), 0));
    }
    void SetDescription(const std::wstring& text) override { CheckCom(link_->SetDescription(text.c_str())); }
    void SetArguments(const std::wstring& arguments) override {
        CheckCom(link_->SetArguments(arguments.c_str()));
    }
    void SetWorkingDirectory(const std::wstring& folder) override {
        CheckCom(link_->SetWorkingDirectory(folder.c_str()));
    }
    // The shortcut is written whole under a temporary name in its own folder
    // and only then moved over the old file, in one step and written
    // through: a full disk, a lock or a crash while writing leaves the old
    // shortcut as it was, and the temporary file does not stay behind.
    void Save() override {
        ComPtr<IPersistFile> file;
        CheckCom(link_->QueryInterface(IID_IPersistFile, file.PutVoid()));
        const std::wstring temporary = linkPath_ + kTemporarySuffix;
        const HRESULT saved = file->Save(temporary.c_str(), FALSE);
        if (FAILED(saved)) {
            DeleteFileW(temporary.c_str());
            throw ComError(saved);
        }
        if (!MoveFileExW(temporary.c_str(), linkPath_.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
            const DWORD code = GetLastError();
            DeleteFileW(temporary.c_str());
            throw ComError(HRESULT_FROM_WIN32(code));
        }
    }

private:
    std::wstring linkPath_;
    ComPtr<IShellLinkW> link_;
};

}  // namespace

std::wstring Win32ShellLinks::FolderPath(SpecialFolder folder) {
    const KNOWNFOLDERID& id = folder == SpecialFolder::Desktop ? FOLDERID_Desktop : FOLDERID_Programs;
    UniqueCoTaskString path;
    CheckCom(SHGetKnownFolderPath(id, KF_FLAG_DEFAULT, nullptr, path.put()));
    return path.get();
}

std::unique_ptr<ShortcutFile> Win32ShellLinks::CreateShortcut(const std::wstring& linkPath) {
    return std::make_unique<Win32ShortcutFile>(linkPath);
}

std::wstring Win32ShellLinks::TargetOf(const std::wstring& linkPath) {
    ComPtr<IShellLinkW> link;
    ComPtr<IPersistFile> file;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, link.PutVoid())) ||
        FAILED(link->QueryInterface(IID_IPersistFile, file.PutVoid())) ||
        FAILED(file->Load(linkPath.c_str(), STGM_READ))) {
        return {};
    }
    // The link object cannot tell the length of its path: the longest path
    // the system takes.
    std::wstring target(kLongestPath, L'\0');
    if (link->GetPath(target.data(), static_cast<int>(target.size()), nullptr, SLGP_RAWPATH) != S_OK) return {};
    target.resize(wcsnlen(target.c_str(), target.size()));
    return target;
}

void Win32ShellLinks::NotifyChanged(ShellChange change, const std::wstring& path) {
    LONG event = SHCNE_UPDATEITEM;
    switch (change) {
        case ShellChange::ItemCreated: event = SHCNE_CREATE; break;
        case ShellChange::ItemUpdated: event = SHCNE_UPDATEITEM; break;
        case ShellChange::ItemDeleted: event = SHCNE_DELETE; break;
        case ShellChange::FolderCreated: event = SHCNE_MKDIR; break;
        case ShellChange::FolderRemoved: event = SHCNE_RMDIR; break;
    }
    // Queued for the shell without waiting for it to take the notice.
    SHChangeNotify(event, SHCNF_PATHW | SHCNF_FLUSHNOWAIT, path.c_str(), nullptr);
}

}  // namespace zoriza
