// The main window on Win32: the top-level window and its thirteen controls,
// built from the design table, laid out at the window's DPI and exposed
// through the toolkit's interfaces.
#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <memory>

#include "app/window_dpi.h"
#include "main_window/layout.h"
#include "platform/base/error.h"
#include "platform/win32/unique_handle.h"
#include "platform/win32/win32_controls.h"

namespace zoriza {

class NativeForm {
public:
    // A user's click or selection on a control with a handler.
    using UserAction = std::function<void(ControlId)>;
    // Key preview: every character before the focused control sees it.
    using KeyPreview = std::function<void(std::int16_t&)>;

    // `requests` bounds what the drive and folder lists ask of the drives,
    // and ends the program when the user asks to during one of its waits;
    // `dpi` tells the window's DPI.
    NativeForm(HINSTANCE instance, ServerRequests& requests, const DpiFunctions& dpi = SystemDpiFunctions());
    ~NativeForm();
    NativeForm(const NativeForm&) = delete;
    NativeForm& operator=(const NativeForm&) = delete;

    // An error of the toolkit's own doing, such as a folder that cannot be opened.
    using ErrorReport = std::function<void(const AppError&)>;

    void OnUserAction(UserAction action) { userAction_ = std::move(action); }
    void OnError(ErrorReport report) { errorReport_ = std::move(report); }
    void OnKeyPreview(KeyPreview preview) { keyPreview_ = std::move(preview); }

    Win32Window& Form() { return *window_; }
    Win32ListBox& Lang() { return *lang_; }
    Win32ListBox& App() { return *app_; }
    Win32OptionGroup& Platform() { return *platform_; }
    Win32CheckBox& Icona() { return *icona_; }
    Win32DriveList& Drive1() { return *drive1_; }
    Win32FolderList& Dir1() { return *dir1_; }
    Win32Caption& Caption(ControlId id) { return *captions_.at(id); }

    HWND Handle() const { return handle_; }
    HWND Control(ControlId id) const { return controls_.at(id); }

    // Shows the window with the focus in the first control of the tab order.
    void Show(int showCommand);
    // Handles what the window must see before dialog navigation does; true
    // when the message needs no further processing.
    bool PreTranslate(MSG& message);

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
    void OnCommand(ControlId id, UINT notification);
    void RunUserAction(ControlId id);
    void OpenFolder();

    void CreateControls(HINSTANCE instance);
    void NameTheLists();
    void CreateWrappers(ServerRequests& requests);
    void ApplyDesignTimeEntries();
    void OrderForTabbing();
    void LayOut(UINT dpi);
    void SizeDriveList(const RECT& target);
    bool IsInWindow(HWND window) const;
    bool IsWayOut(const MSG& message) const;

    DpiFunctions dpi_;
    ServerRequests& requests_;
    HWND handle_ = nullptr;
    UniqueFont font_;
    std::map<ControlId, HWND> controls_;
    std::unique_ptr<Win32Window> window_;
    std::unique_ptr<Win32ListBox> lang_;
    std::unique_ptr<Win32ListBox> app_;
    std::unique_ptr<Win32OptionGroup> platform_;
    std::unique_ptr<Win32CheckBox> icona_;
    std::unique_ptr<Win32DriveList> drive1_;
    std::unique_ptr<Win32FolderList> dir1_;
    std::map<ControlId, std::unique_ptr<Win32Caption>> captions_;
    UserAction userAction_;
    KeyPreview keyPreview_;
    ErrorReport errorReport_;
    HWND lastFocus_ = nullptr;
    bool inUserAction_ = false;
};

}  // namespace zoriza
