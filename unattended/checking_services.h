// The services of the create command for the check: everything is read
// from the real ones, nothing is written. Each write the command asks for is
// compared with what is there instead, and told as a line: "in place:",
// "missing:" or "differs:".
#pragma once

#include <memory>
#include <set>
#include <string>

#include "main_window/main_window.h"
#include "unattended/unattended.h"

namespace zoriza {

// How many of the things the command would write are not in place.
struct CheckTally {
    int notInPlace = 0;
};

// A missing folder is told once, however many shortcuts would go in it.
class CheckingFileSystem : public FileSystem {
public:
    CheckingFileSystem(FileSystem& real, OutputLines& out, CheckTally& tally) : real_(real), out_(out), tally_(tally) {}

    std::wstring FirstMatch(const std::wstring& path, EntryKinds kinds) override {
        return real_.FirstMatch(path, kinds);
    }
    std::size_t FirstHolding(const std::vector<std::wstring>& paths, EntryKinds kinds) override {
        return real_.FirstHolding(paths, kinds);
    }
    bool MadeByAnotherUser(const std::wstring& folder) override { return real_.MadeByAnotherUser(folder); }
    void MakeFolder(const std::wstring& path) override;
    bool RemoveFile(const std::wstring& path) override;
    bool RemoveEmptyFolder(const std::wstring& path) override;

private:
    FileSystem& real_;
    OutputLines& out_;
    CheckTally& tally_;
    std::set<std::wstring> toldMissing_;
};

// A setting is in place when the stored value is the very one the command
// would save; a key that is not there holds none.
class CheckingRegistry : public Registry {
public:
    explicit CheckingRegistry(Registry& real) : real_(real) {}

    RegistryStatus OpenKey(RegistryRoot root, const std::wstring& path, std::uint32_t access,
                           RegistryKey& key) override;
    RegistryStatus CreateKey(RegistryRoot root, const std::wstring& path, RegistryKey& key) override;
    RegistryStatus QueryValue(const RegistryKey& key, const std::wstring& name, std::uint32_t& type,
                              std::uint8_t* data, std::uint32_t& size) override {
        return real_.QueryValue(key, name, type, data, size);
    }
    // Success when the value stored is this one; nothing is written.
    RegistryStatus SetValue(const RegistryKey& key, const std::wstring& name, std::uint32_t type,
                            std::span<const std::uint8_t> data) override;
    std::wstring DecodeAnsi(std::span<const std::uint8_t> bytes) const override { return real_.DecodeAnsi(bytes); }

private:
    // The keys are the real registry's, which closes them.
    RegistryStatus CloseKey(RegistryKey::Handle) override { return kRegistrySuccess; }

    Registry& real_;
};

class CheckingShellLinks : public ShellLinks {
public:
    CheckingShellLinks(ShellLinks& real, FileSystem& files, OutputLines& out, CheckTally& tally)
        : real_(real), files_(files), out_(out), tally_(tally) {}

    std::wstring FolderPath(SpecialFolder folder) override { return real_.FolderPath(folder); }
    // A shortcut whose saving compares it with the file there.
    std::unique_ptr<ShortcutFile> CreateShortcut(const std::wstring& linkPath) override;
    std::optional<ShortcutFields> ReadShortcut(const std::wstring& linkPath) override {
        return real_.ReadShortcut(linkPath);
    }
    void NotifyChanged(ShellChange, const std::wstring&) override {}

    // Tells how the shortcut at `linkPath` compares with `wanted`; true when
    // it holds every field.
    bool InPlace(const std::wstring& linkPath, const ShortcutFields& wanted);

private:
    bool NotInPlace(std::initializer_list<std::wstring_view> line);

    ShellLinks& real_;
    FileSystem& files_;
    OutputLines& out_;
    CheckTally& tally_;
};

// The three over the real services; the rest of them as they are.
struct CheckingServices {
    CheckingServices(const FormServices& real, OutputLines& out)
        : files(real.files, out, tally), registry(real.registry), shell(real.shell, real.files, out, tally),
          real_(real) {}

    FormServices Form() {
        return FormServices{files, real_.environment, real_.languageIds, registry, shell};
    }

    CheckTally tally;
    CheckingFileSystem files;
    CheckingRegistry registry;
    CheckingShellLinks shell;

private:
    FormServices real_;
};

}  // namespace zoriza
