// The window toolkit on Win32 controls. Each wrapper owns no window: the
// native form creates the controls and hands their handles in.
#pragma once

#include <windows.h>

#include <array>
#include <map>
#include <vector>

#include "platform/win32/server_requests.h"
#include "platform/window_toolkit.h"

namespace zoriza {

class Win32Caption : public Captioned {
public:
    explicit Win32Caption(HWND handle) : handle_(handle) {}
    std::wstring Caption() const override;
    void SetCaption(const std::wstring& text) override;

protected:
    HWND handle_;
};

class Win32ListBox : public ListBox {
public:
    explicit Win32ListBox(HWND handle) : handle_(handle) {}
    std::int16_t ListCount() const override;
    std::wstring List(std::int16_t index) const override;
    void SetList(std::int16_t index, const std::wstring& text) override;
    std::int16_t ListIndex() const override;
    void SetListIndex(std::int16_t index) override;
    std::wstring Text() const override;
    void OnClick(EventHandler handler) override { onClick_ = std::move(handler); }

private:
    void CheckIndex(std::int16_t index) const;

    HWND handle_;
    EventHandler onClick_;
};

class Win32OptionGroup : public OptionGroup {
public:
    explicit Win32OptionGroup(std::array<HWND, 3> buttons) : buttons_(buttons) {}
    std::int16_t Count() const override { return static_cast<std::int16_t>(buttons_.size()); }
    bool Enabled(std::int16_t index) const override;
    void SetEnabled(std::int16_t index, bool enabled) override;
    bool Value(std::int16_t index) const override;
    void Select(std::int16_t index) override;
    // Tab goes to the selected button of the group (to the first while none is).
    void UpdateTabStop();

private:
    HWND Button(std::int16_t index) const;

    std::array<HWND, 3> buttons_;
};

class Win32CheckBox : public CheckBox {
public:
    explicit Win32CheckBox(HWND handle) : caption_(handle), handle_(handle) {}
    std::wstring Caption() const override { return caption_.Caption(); }
    void SetCaption(const std::wstring& text) override { caption_.SetCaption(text); }
    std::int16_t Value() const override;
    void SetValue(std::int16_t value) override;
    // A user's click switches between clear and checked.
    void Toggle();

private:
    Win32Caption caption_;
    HWND handle_;
};

// A drop-down list of the machine's drives: "c: [label]". The labels come in
// one request, since nearly all are local; when it has not ended within the
// bound, every drive shows without its label.
class Win32DriveList : public DriveList {
public:
    Win32DriveList(HWND handle, ServerRequests& requests);
    std::int16_t ListCount() const override;
    std::wstring List(std::int16_t index) const override;
    std::wstring Drive() const override;
    void SetDrive(const std::wstring& text) override;
    void ShowDrive(const std::wstring& text) override;
    void OnChange(EventHandler handler) override { onChange_ = std::move(handler); }

private:
    int IndexOf(const std::wstring& text) const;

    HWND handle_;
    EventHandler onChange_;
};

// The path from the drive's root down to the current folder, then that
// folder's subfolders, indented; a double click or Enter opens a folder.
// A folder that cannot be read within the bound is "Device unavailable".
class Win32FolderList : public FolderList {
public:
    Win32FolderList(HWND handle, ServerRequests& requests);
    std::wstring Path() const override { return path_; }
    void SetPath(const std::wstring& path) override;
    void Refresh() override;
    // Opens the selected entry; an error leaves the list where it was.
    void OpenSelected();
    void ScrollToPath();

private:
    std::wstring Resolve(const std::wstring& path) const;
    std::vector<std::wstring> ReadFolder(const std::wstring& folder) const;
    void Fill(const std::wstring& folder, const std::vector<std::wstring>& subfolders);

    HWND handle_;
    ServerRequests& requests_;
    std::wstring path_;
    std::vector<std::wstring> entryPaths_;
    std::size_t currentEntry_ = 0;  // the current folder's line
    std::map<std::wstring, std::wstring> driveFolders_;  // last folder shown on each drive
};

class Win32Window : public Window {
public:
    // `applicationTitle` titles a message box given no title of its own.
    Win32Window(HWND handle, std::wstring applicationTitle)
        : caption_(handle), handle_(handle), applicationTitle_(std::move(applicationTitle)) {}
    std::wstring Caption() const override { return caption_.Caption(); }
    void SetCaption(const std::wstring& text) override { caption_.SetCaption(text); }
    void Unload() override;
    void EndProgram() override;
    void ShowMessage(const std::wstring& text, const std::wstring& title, MessageIcon icon) override;
    void SetBusy(bool busy) override;
    bool Busy() const { return busy_; }

private:
    Win32Caption caption_;
    HWND handle_;
    std::wstring applicationTitle_;
    bool busy_ = false;
};

}  // namespace zoriza
