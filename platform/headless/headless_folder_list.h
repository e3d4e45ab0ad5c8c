// The folder list without a window: it holds a path and checks every folder it
// is given through the file system, as the window's list does by listing it.
#pragma once

#include <map>
#include <string>

#include "platform/file_system.h"
#include "platform/window_toolkit.h"

namespace zoriza {

class HeadlessFolderList : public FolderList {
public:
    // Starts on `startFolder` when it can be shown, else with no path at all.
    HeadlessFolderList(FileSystem& files, const std::wstring& startFolder);

    std::wstring Path() const override { return path_; }
    // A bare drive ("F:") is the folder last shown on it while that is still
    // there, else its root.
    void SetPath(const std::wstring& path) override;
    void Refresh() override;

private:
    std::wstring Resolve(const std::wstring& path) const;
    void Check(const std::wstring& folder) const;
    bool IsThere(const std::wstring& folder) const;

    FileSystem& files_;
    std::wstring path_;
    std::map<std::wstring, std::wstring> driveFolders_;  // last folder shown on each drive
};

}  // namespace zoriza
