#include "platform/win32/win32_shell_links.h"

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <optional>
#include <vector>

#include "platform/win32/com_ptr.h"
#include "platform/win32/link_file_bytes.h"
#include "platform/win32/unique_handle.h"
#include "platform/win32/win32_error.h"

namespace zoriza {

namespace {

constexpr std::size_t kLongestPath = 32768;

// Where a .lnk file's header keeps the show command, a little-endian 32-bit
// number.
constexpr std::size_t kShowCommandOffset = 0x3C;

int ShowCommandIn(const std::vector<std::uint8_t>& bytes) {
    if (bytes.size() < kShowCommandOffset + 4) return -1;
    const std::uint8_t* field = bytes.data() + kShowCommandOffset;
    return static_cast<int>(field[0] | field[1] << 8 | field[2] << 16 | static_cast<std::uint32_t>(field[3]) << 24);
}

ComPtr<IStream> MemoryStream() {
    ComPtr<IStream> stream;
    CheckCom(CreateStreamOnHGlobal(nullptr, TRUE, stream.Put()));
    return stream;
}

// The link object for one shortcut file, opened on the shortcut there: what
// else an existing shortcut holds stays; a file that is no shortcut is
// replaced whole. Used on the thread of one request.
class LinkOnDisk {
public:
    explicit LinkOnDisk(std::wstring linkPath) : linkPath_(std::move(linkPath)) {
        link_ = NewLink();
        const std::vector<std::uint8_t> existing = ReadShortcutFile(linkPath_);
        loaded_ = !existing.empty() && Load(existing);
        changed_ = !loaded_;
        if (loaded_) {
            savedShowCommand_ = ShowCommandIn(existing);
        } else {
            link_ = NewLink();
        }
    }

    bool Loaded() const { return loaded_; }
    // The target as the file holds it; empty when there is none.
    std::wstring Target() const {
        return TextOf([this](wchar_t* text, int size) { return link_->GetPath(text, size, nullptr, SLGP_RAWPATH); })
            .value_or(L"");
    }

    // A target on a drive that is not there answers S_FALSE, and is stored as given.
    void SetTargetPath(const std::wstring& path) {
        SetText(path, [this](wchar_t* text, int size) { return link_->GetPath(text, size, nullptr, SLGP_RAWPATH); },
                [this, &path] { return link_->SetPath(path.c_str()); });
    }
    // Set in any case: Wine's link object forgets the show command it
    // loaded, so the file's header tells what it holds.
    void SetWindowStyle(std::int16_t showCommand) {
        if (showCommand != savedShowCommand_) changed_ = true;
        CheckCom(link_->SetShowCmd(showCommand));
    }
    void ClearHotkey() {
        WORD current = 0;
        if (!changed_ && SUCCEEDED(link_->GetHotkey(&current)) && current == 0) return;
        changed_ = true;
        CheckCom(link_->SetHotkey(0));
    }
    void SetIconLocation(const std::wstring& location) {
        SetText(location,
                [this](wchar_t* text, int size) {
                    int index = 0;
                    const HRESULT read = link_->GetIconLocation(text, size, &index);
                    return index == 0 ? read : S_FALSE;  // another icon of the file
                },
                [this, &location] { return link_->SetIconLocation(location.c_str(), 0); });
    }
    void SetDescription(const std::wstring& text) {
        SetText(text, [this](wchar_t* read, int size) { return link_->GetDescription(read, size); },
                [this, &text] { return link_->SetDescription(text.c_str()); });
    }
    void SetArguments(const std::wstring& arguments) {
        SetText(arguments, [this](wchar_t* text, int size) { return link_->GetArguments(text, size); },
                [this, &arguments] { return link_->SetArguments(arguments.c_str()); });
    }
    void SetWorkingDirectory(const std::wstring& folder) {
        SetText(folder, [this](wchar_t* text, int size) { return link_->GetWorkingDirectory(text, size); },
                [this, &folder] { return link_->SetWorkingDirectory(folder.c_str()); });
    }

    // The shortcut is written whole under a temporary name in its own folder
    // and only then moved over the old file, in one step and written
    // through: a full disk, a lock or a crash while writing leaves the old
    // shortcut as it was, and the temporary file does not stay behind. A
    // shortcut that already held every field is left as it was. `call`
    // makes the temporary file's name this writer's own.
    bool Save(std::uint32_t call) {
        if (!changed_) return false;
        const std::vector<std::uint8_t> bytes = Serialised();
        const std::wstring temporary = TemporaryPathFor(linkPath_, call);
        try {
            WriteThrough(temporary, bytes);
            MoveOver(temporary, linkPath_);
        } catch (const AppError&) {
            DeleteFileW(temporary.c_str());
            throw;
        }
        return true;
    }

private:
    static ComPtr<IShellLinkW> NewLink() {
        ComPtr<IShellLinkW> link;
        CheckCom(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, link.PutVoid()));
        return link;
    }

    // Sets a text field unless a loaded shortcut already holds that text.
    template <typename Read, typename Write>
    void SetText(const std::wstring& value, Read read, Write write) {
        if (!changed_ && Holds(value, read)) return;
        changed_ = true;
        CheckCom(write());
    }
    template <typename Read>
    static bool Holds(const std::wstring& value, Read read) {
        const std::optional<std::wstring> current = TextOf(read);
        return current && *current == value;
    }
    // A text field, or none when the link object does not give it.
    template <typename Read>
    static std::optional<std::wstring> TextOf(Read read) {
        // The link object cannot tell a field's length: the longest path the
        // system takes.
        std::wstring text(kLongestPath, L'\0');
        if (read(text.data(), static_cast<int>(text.size())) != S_OK) return std::nullopt;
        text.resize(wcsnlen(text.c_str(), text.size()));
        return text;
    }

    ComPtr<IPersistStream> Persist() const {
        ComPtr<IPersistStream> persist;
        CheckCom(link_->QueryInterface(IID_IPersistStream, persist.PutVoid()));
        return persist;
    }

    bool Load(const std::vector<std::uint8_t>& bytes) {
        const ComPtr<IStream> stream = MemoryStream();
        ULONG written = 0;
        CheckCom(stream->Write(bytes.data(), static_cast<ULONG>(bytes.size()), &written));
        CheckCom(stream->Seek(LARGE_INTEGER{}, STREAM_SEEK_SET, nullptr));
        return SUCCEEDED(Persist()->Load(stream.Get()));
    }

    // The link as the bytes of a .lnk file.
    std::vector<std::uint8_t> Serialised() {
        const ComPtr<IStream> stream = MemoryStream();
        CheckCom(Persist()->Save(stream.Get(), TRUE));
        ULARGE_INTEGER size{};
        CheckCom(stream->Seek(LARGE_INTEGER{}, STREAM_SEEK_CUR, &size));
        HGLOBAL memory = nullptr;
        CheckCom(GetHGlobalFromStream(stream.Get(), &memory));
        const auto* data = static_cast<const std::uint8_t*>(GlobalLock(memory));
        if (data == nullptr) throw ComError(HRESULT_FROM_WIN32(GetLastError()));
        std::vector<std::uint8_t> bytes(data, data + size.QuadPart);
        GlobalUnlock(memory);
        return bytes;
    }

    std::wstring linkPath_;
    ComPtr<IShellLinkW> link_;
    bool loaded_ = false;
    bool changed_ = true;
    int savedShowCommand_ = -1;  // in the loaded file
};

// The seven fields, kept until the shortcut is saved: the link object then
// does all its work in one request, which may reach the target's server and,
// with a redirected Desktop or Start menu, the shortcut's.
class Win32ShortcutFile : public ShortcutFile {
public:
    Win32ShortcutFile(ServerRequests& requests, std::wstring linkPath, std::uint32_t call)
        : requests_(requests), linkPath_(std::move(linkPath)), call_(call) {}

    void SetTargetPath(const std::wstring& path) override { fields_.target = path; }
    void SetWindowStyle(std::int16_t showCommand) override { fields_.showCommand = showCommand; }
    void SetHotkey(const std::wstring& hotkey) override {
        if (!hotkey.empty()) throw AppError(kInvalidProcedureCall, L"Invalid procedure call or argument");
    }
    void SetIconLocation(const std::wstring& location) override { fields_.iconLocation = location; }
    void SetDescription(const std::wstring& text) override { fields_.description = text; }
    void SetArguments(const std::wstring& arguments) override { fields_.arguments = arguments; }
    void SetWorkingDirectory(const std::wstring& folder) override { fields_.workingDirectory = folder; }

    bool Save() override {
        return requests_.Ask<bool>(linkPath_, [linkPath = linkPath_, fields = fields_, call = call_] {
            LinkOnDisk link(linkPath);
            link.SetTargetPath(fields.target);
            link.SetWindowStyle(fields.showCommand);
            link.ClearHotkey();
            link.SetIconLocation(fields.iconLocation);
            link.SetDescription(fields.description);
            link.SetArguments(fields.arguments);
            link.SetWorkingDirectory(fields.workingDirectory);
            return link.Save(call);
        });
    }

private:
    struct Fields {
        std::wstring target;
        std::int16_t showCommand = kShowNormal;
        std::wstring iconLocation;
        std::wstring description;
        std::wstring arguments;
        std::wstring workingDirectory;
    };

    ServerRequests& requests_;
    std::wstring linkPath_;
    std::uint32_t call_;
    Fields fields_;
};

// The target of the shortcut file, on the thread of a request.
std::wstring TargetIn(const std::wstring& linkPath) {
    const LinkOnDisk link(linkPath);
    return link.Loaded() ? link.Target() : std::wstring();
}

}  // namespace

// The folder is looked for where it is, which a redirected Desktop or Start
// menu puts on a server.
std::wstring Win32ShellLinks::FolderPath(SpecialFolder folder) {
    const bool desktop = folder == SpecialFolder::Desktop;
    return requests_.Ask<std::wstring>(desktop ? L"the Desktop folder" : L"the Programs folder", [desktop] {
        UniqueCoTaskString path;
        CheckCom(SHGetKnownFolderPath(desktop ? FOLDERID_Desktop : FOLDERID_Programs, KF_FLAG_DEFAULT, nullptr,
                                      path.put()));
        return std::wstring(path.get());
    });
}

std::unique_ptr<ShortcutFile> Win32ShellLinks::CreateShortcut(const std::wstring& linkPath) {
    return std::make_unique<Win32ShortcutFile>(requests_, linkPath, ++calls_);
}

std::wstring Win32ShellLinks::TargetOf(const std::wstring& linkPath) {
    try {
        return requests_.Ask<std::wstring>(linkPath, [linkPath] { return TargetIn(linkPath); });
    } catch (const AppError&) {
        return {};  // a shortcut on a drive that does not answer cannot be read
    }
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
