#include "platform/win32/win32_shell_links.h"

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <optional>
#include <vector>

#include "platform/base/text.h"
#include "platform/win32/com_ptr.h"
#include "platform/win32/link_app_id.h"
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

// A file removed when it goes out of scope, unless it has been moved away.
struct TemporaryFile {
    explicit TemporaryFile(std::wstring name) : path(std::move(name)) {}
    ~TemporaryFile() { DeleteFileW(path.c_str()); }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    const std::wstring path;
};

// The link object for one shortcut file, opened on the shortcut there: what
// else an existing shortcut holds stays; a file that is no shortcut is
// replaced whole. Used on the thread of one request.
class LinkOnDisk {
public:
    explicit LinkOnDisk(std::wstring linkPath) : linkPath_(std::move(linkPath)) {
        link_ = NewLink();
        const std::vector<std::uint8_t> existing = ReadShortcutFile(linkPath_);
        loaded_ = !existing.empty() && Load(existing);
        if (loaded_) {
            savedShowCommand_ = ShowCommandIn(existing);
            appUserModelId_ = AppUserModelIdIn(existing);
        } else {
            link_ = NewLink();
        }
    }

    bool Loaded() const { return loaded_; }

    // The loaded shortcut's fields; none when one of them cannot be read.
    // Wine's link object forgets the show command it loaded, so the file's
    // header tells what it holds.
    std::optional<ShortcutFields> Fields() const {
        ShortcutFields fields;
        WORD hotkey = 0;
        const auto target = TextOf([this](wchar_t* text, int size) {
            return link_->GetPath(text, size, nullptr, SLGP_RAWPATH);
        });
        const auto icon = TextOf([this, &fields](wchar_t* text, int size) {
            return link_->GetIconLocation(text, size, &fields.iconIndex);
        });
        const auto description = TextOf([this](wchar_t* text, int size) { return link_->GetDescription(text, size); });
        const auto arguments = TextOf([this](wchar_t* text, int size) { return link_->GetArguments(text, size); });
        const auto folder = TextOf([this](wchar_t* text, int size) { return link_->GetWorkingDirectory(text, size); });
        if (!target || !icon || !description || !arguments || !folder || FAILED(link_->GetHotkey(&hotkey))) {
            return std::nullopt;
        }
        fields.target = *target;
        fields.showCommand = static_cast<std::int16_t>(savedShowCommand_);
        fields.hotkey = hotkey;
        fields.iconLocation = *icon;
        fields.description = *description;
        fields.arguments = *arguments;
        fields.workingDirectory = *folder;
        fields.appUserModelId = appUserModelId_;
        return fields;
    }

    // The shortcut is written whole under a temporary name in its own folder
    // and only then moved over the old file, in one step and written
    // through: a full disk, a lock or a crash while writing leaves the old
    // shortcut as it was. The move is the commit point: a writer whose
    // caller has stopped waiting moves nothing. The temporary file goes
    // whatever ends the writing, but for the process ending under it (see
    // RemoveStaleTemporaryFiles). A shortcut that already holds every field
    // is left as it was. `call` makes the temporary file's name this
    // writer's own.
    bool Save(const ShortcutFields& fields, std::uint32_t call, CommitPoint& commit) {
        if (loaded_ && Fields() == fields) return false;
        Set(fields);
        const std::vector<std::uint8_t> bytes = Serialised();
        const TemporaryFile temporary(TemporaryPathFor(linkPath_, call));
        WriteThrough(temporary.path, bytes);
        if (!commit.Pass()) return false;
        MoveOver(temporary.path, linkPath_);
        return true;
    }

private:
    static ComPtr<IShellLinkW> NewLink() {
        ComPtr<IShellLinkW> link;
        CheckCom(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, link.PutVoid()));
        return link;
    }

    // A target on a drive that is not there answers S_FALSE, and is stored as given.
    void Set(const ShortcutFields& fields) {
        CheckCom(link_->SetPath(fields.target.c_str()));
        CheckCom(link_->SetShowCmd(fields.showCommand));
        CheckCom(link_->SetHotkey(fields.hotkey));
        CheckCom(link_->SetIconLocation(fields.iconLocation.c_str(), fields.iconIndex));
        CheckCom(link_->SetDescription(fields.description.c_str()));
        CheckCom(link_->SetArguments(fields.arguments.c_str()));
        CheckCom(link_->SetWorkingDirectory(fields.workingDirectory.c_str()));
        SetAppUserModelId(*link_.Get(), fields.appUserModelId);
        appUserModelId_ = fields.appUserModelId;
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

    // The link as the bytes of a .lnk file, with its AppUserModelID.
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
        return WithAppUserModelId(std::move(bytes), appUserModelId_);
    }

    std::wstring linkPath_;
    ComPtr<IShellLinkW> link_;
    bool loaded_ = false;
    int savedShowCommand_ = -1;  // in the loaded file
    // Read from the file's bytes and written into them: Wine's link object
    // keeps no property store.
    std::wstring appUserModelId_;
};

// The seven fields, kept until the shortcut is saved: the link object then
// does all its work in one request, which may reach the target's server and,
// with a redirected Desktop or Start menu, the shortcut's. The first save in
// a folder also takes away the temporary files that earlier runs left there.
class Win32ShortcutFile : public GatheredShortcut {
public:
    Win32ShortcutFile(ServerRequests& requests, std::wstring linkPath, std::uint32_t call, bool firstInFolder)
        : requests_(requests), linkPath_(std::move(linkPath)), call_(call), firstInFolder_(firstInFolder) {}

    bool Save() override {
        return requests_.Change<bool>(
            linkPath_, [linkPath = linkPath_, fields = fields_, call = call_, sweep = firstInFolder_](CommitPoint& commit) {
                if (sweep) RemoveStaleTemporaryFiles(FolderOf(linkPath));
                return LinkOnDisk(linkPath).Save(fields, call, commit);
            });
    }

private:
    ServerRequests& requests_;
    std::wstring linkPath_;
    std::uint32_t call_;
    bool firstInFolder_;
};

}  // namespace

// The folder is looked for where it is, which a redirected Desktop or Start
// menu puts on a server, or at a drive's root ("H:\", given as "H:").
std::wstring Win32ShellLinks::FolderPath(SpecialFolder folder) {
    const bool desktop = folder == SpecialFolder::Desktop;
    const bool everyUser = owner_ == FolderOwner::AllUsers;
    const KNOWNFOLDERID& id = desktop ? (everyUser ? FOLDERID_PublicDesktop : FOLDERID_Desktop)
                                      : (everyUser ? FOLDERID_CommonPrograms : FOLDERID_Programs);
    return requests_.Ask<std::wstring>(desktop ? L"the Desktop folder" : L"the Programs folder", [id] {
        UniqueCoTaskString path;
        CheckCom(SHGetKnownFolderPath(id, KF_FLAG_DEFAULT, nullptr, path.put()));
        std::wstring text(path.get());
        if (!text.empty() && text.back() == L'\\') text.pop_back();
        return text;
    });
}

std::unique_ptr<ShortcutFile> Win32ShellLinks::CreateShortcut(const std::wstring& linkPath) {
    const bool firstInFolder = sweptFolders_.insert(AsciiUpper(FolderOf(linkPath))).second;
    return std::make_unique<Win32ShortcutFile>(requests_, linkPath, ++calls_, firstInFolder);
}

std::optional<ShortcutFields> Win32ShellLinks::ReadShortcut(const std::wstring& linkPath) {
    return requests_.Ask<std::optional<ShortcutFields>>(linkPath, [linkPath]() -> std::optional<ShortcutFields> {
        const LinkOnDisk link(linkPath);
        if (!link.Loaded()) return std::nullopt;
        return link.Fields();
    });
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
