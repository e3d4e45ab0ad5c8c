#include "app/native_form.h"

#include "localisation/accessible_names.h"
#include "localisation/catalogue.h"
#include "platform/win32/accessible_name.h"
#include "platform/win32/win32_error.h"

namespace zoriza {

namespace {

constexpr wchar_t kWindowClass[] = L"ZORIZA.Form1";
constexpr int kIconResource = 1;
constexpr DWORD kWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr int kListLineTwips = 195;
constexpr int kDriveDropLines = 12;

struct NativeClass {
    const wchar_t* name;
    DWORD style;
    DWORD exStyle;
};

NativeClass NativeClassOf(ControlKind kind) {
    constexpr DWORD list = LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | LBS_HASSTRINGS | WS_VSCROLL | WS_TABSTOP | WS_GROUP;
    switch (kind) {
        case ControlKind::CommandButton: return {L"BUTTON", BS_PUSHBUTTON | WS_TABSTOP | WS_GROUP, 0};
        case ControlKind::Frame: return {L"BUTTON", BS_GROUPBOX | WS_GROUP, 0};
        case ControlKind::CheckBox: return {L"BUTTON", BS_3STATE | WS_TABSTOP | WS_GROUP, 0};
        case ControlKind::OptionButton: return {L"BUTTON", BS_AUTORADIOBUTTON, 0};
        case ControlKind::FolderList: return {L"LISTBOX", list, WS_EX_CLIENTEDGE};
        case ControlKind::DriveList: return {L"COMBOBOX", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP | WS_GROUP, 0};
        case ControlKind::ListBox: return {L"LISTBOX", list, WS_EX_CLIENTEDGE};
    }
    return {L"STATIC", 0, 0};
}

RECT PixelRect(const ControlDesign& design, UINT dpi) {
    const TwipsRect twips = ClientTwips(design);
    const int left = TwipsToPixels(twips.left, static_cast<int>(dpi));
    const int top = TwipsToPixels(twips.top, static_cast<int>(dpi));
    return {left, top, left + TwipsToPixels(twips.width, static_cast<int>(dpi)),
            top + TwipsToPixels(twips.height, static_cast<int>(dpi))};
}

// Empty when the system cannot make the font: the controls then keep the
// one they have.
UniqueFont CreateWindowFont(UINT dpi) {
    const int height = -MulDiv(kFontHundredthsOfPoint, static_cast<int>(dpi), 72 * 100);
    return UniqueFont(CreateFontW(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FIXED_PITCH | FF_MODERN, kFontName));
}

[[noreturn]] void ThrowLastError() { throw FileError(GetLastError()); }

void RegisterWindowClass(HINSTANCE instance, WNDPROC procedure) {
    WNDCLASSEXW windowClass{};
    if (GetClassInfoExW(instance, kWindowClass, &windowClass)) return;
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kWindowClass;
    windowClass.hIcon = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(kIconResource), IMAGE_ICON,
                                                      0, 0, LR_DEFAULTSIZE | LR_SHARED));
    windowClass.hIconSm = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(kIconResource), IMAGE_ICON,
                                                        GetSystemMetrics(SM_CXSMICON),
                                                        GetSystemMetrics(SM_CYSMICON), LR_SHARED));
    if (RegisterClassExW(&windowClass) == 0) ThrowLastError();
}

}  // namespace

NativeForm::NativeForm(HINSTANCE instance, ServerRequests& requests, const DpiFunctions& dpi)
    : dpi_(dpi), requests_(requests) {
    RegisterWindowClass(instance, &NativeForm::WindowProc);
    handle_ = CreateWindowExW(0, kWindowClass, kDesignCaption, kWindowStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                              CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance, this);
    if (handle_ == nullptr) ThrowLastError();
    CreateControls(instance);
    NameTheLists();
    CreateWrappers(requests);
    ApplyDesignTimeEntries();
    OrderForTabbing();
    LayOut(WindowDpi(dpi_, handle_));
    requests_.EndWaitsOn([this](const MSG& message) { return IsWayOut(message); });
}

NativeForm::~NativeForm() {
    requests_.EndWaitsOn(nullptr);
    if (IsWindow(handle_)) DestroyWindow(handle_);
}

void NativeForm::CreateControls(HINSTANCE instance) {
    for (const ControlDesign& design : kControlDesigns) {
        const NativeClass native = NativeClassOf(design.kind);
        DWORD style = WS_CHILD | WS_VISIBLE | native.style;
        if (design.id == ControlId::Platform0) style |= WS_GROUP | WS_TABSTOP;
        const HWND control = CreateWindowExW(native.exStyle, native.name, design.designText, style, 0, 0, 0, 0,
                                             handle_, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(design.id)),
                                             instance, nullptr);
        if (control == nullptr) ThrowLastError();
        controls_[design.id] = control;
    }
}

// The four lists show no caption: screen readers get a name for each, in
// the language of the moment.
void NativeForm::NameTheLists() {
    const std::pair<ControlId, const wchar_t*> names[] = {{ControlId::Lang, kLanguageListName},
                                                          {ControlId::App, kEditionListName},
                                                          {ControlId::Drive1, kDriveListName},
                                                          {ControlId::Dir1, kFolderListName}};
    for (const auto& [id, name] : names) {
        GiveAccessibleName(Control(id), [name = name] { return TranslateAccessibleName(name); });
    }
}

void NativeForm::CreateWrappers(ServerRequests& requests) {
    window_ = std::make_unique<Win32Window>(handle_, kApplicationTitle);
    lang_ = std::make_unique<Win32ListBox>(Control(ControlId::Lang));
    app_ = std::make_unique<Win32ListBox>(Control(ControlId::App));
    platform_ = std::make_unique<Win32OptionGroup>(std::array<HWND, 3>{
        Control(kPlatformButtons[0]), Control(kPlatformButtons[1]), Control(kPlatformButtons[2])});
    icona_ = std::make_unique<Win32CheckBox>(Control(ControlId::Icona));
    drive1_ = std::make_unique<Win32DriveList>(Control(ControlId::Drive1), requests);
    dir1_ = std::make_unique<Win32FolderList>(Control(ControlId::Dir1), requests);
    for (const ControlId id : {ControlId::Frame1, ControlId::Frame2, ControlId::Frame3, ControlId::Search,
                               ControlId::Intro}) {
        captions_[id] = std::make_unique<Win32Caption>(Control(id));
    }
}

void NativeForm::ApplyDesignTimeEntries() {
    for (const wchar_t* name : kLanguageNames) {
        SendMessageW(Control(ControlId::Lang), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
    }
    for (const wchar_t* caption : kEditionCaptions) {
        SendMessageW(Control(ControlId::App), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(caption));
    }
    platform_->UpdateTabStop();
}

// Dialog navigation tabs in z-order: put the controls in tab order.
void NativeForm::OrderForTabbing() {
    HWND previous = HWND_TOP;
    for (const ControlId id : TabOrder()) {
        SetWindowPos(Control(id), previous, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        previous = Control(id);
    }
}

void NativeForm::LayOut(UINT dpi) {
    RECT window{0, 0, TwipsToPixels(kClientWidthTwips, static_cast<int>(dpi)),
                TwipsToPixels(kClientHeightTwips, static_cast<int>(dpi))};
    AddWindowFrame(dpi_, window, kWindowStyle, dpi);
    SetWindowPos(handle_, nullptr, 0, 0, window.right - window.left, window.bottom - window.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);

    UniqueFont font = CreateWindowFont(dpi);
    const int lineHeight = TwipsToPixels(kListLineTwips, static_cast<int>(dpi));
    for (const ControlDesign& design : kControlDesigns) {
        const HWND control = Control(design.id);
        if (font) SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), FALSE);
        const RECT rect = PixelRect(design, dpi);
        if (design.kind == ControlKind::DriveList) {
            SizeDriveList(rect);
            continue;
        }
        if (design.kind == ControlKind::ListBox || design.kind == ControlKind::FolderList) {
            SendMessageW(control, LB_SETITEMHEIGHT, 0, lineHeight);
        }
        MoveWindow(control, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, TRUE);
    }
    // The controls let go of the old font above; only now may it be deleted.
    if (font) font_ = std::move(font);
    dir1_->ScrollToPath();
}

// A drop-down list's height is its selection field's, which follows its item
// height; the height given to the window is the dropped list's.
void NativeForm::SizeDriveList(const RECT& target) {
    const HWND combo = Control(ControlId::Drive1);
    const int width = target.right - target.left;
    const int wanted = target.bottom - target.top;
    MoveWindow(combo, target.left, target.top, width, wanted * kDriveDropLines, TRUE);
    // Some combo boxes report their item height with the field's padding;
    // adjusting the height asked for until the field has the height wanted
    // works whichever way a system counts.
    LRESULT itemHeight = SendMessageW(combo, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0);
    for (int attempt = 0; attempt < 4; ++attempt) {
        RECT actual{};
        GetWindowRect(combo, &actual);
        const int difference = wanted - (actual.bottom - actual.top);
        if (difference == 0 || itemHeight + difference <= 0) break;
        itemHeight += difference;
        SendMessageW(combo, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), itemHeight);
    }
}

void NativeForm::Show(int showCommand) {
    ShowWindow(handle_, showCommand);
    UpdateWindow(handle_);
    SetFocus(Control(TabOrder()[0]));
}

bool NativeForm::IsInWindow(HWND window) const {
    return window == handle_ || IsChild(handle_, window);
}

// Esc, Alt+F4, a click on the close box or the window's close, while a wait
// for a server keeps the input back: the program ends as it does outside one.
bool NativeForm::IsWayOut(const MSG& message) const {
    if (!IsInWindow(message.hwnd)) return false;
    switch (message.message) {
        case WM_KEYDOWN: return message.wParam == VK_ESCAPE;
        case WM_SYSKEYDOWN: return message.wParam == VK_F4;
        case WM_NCLBUTTONDOWN:
        case WM_NCLBUTTONUP: return message.wParam == HTCLOSE;
        case WM_SYSCOMMAND: return (message.wParam & 0xFFF0) == SC_CLOSE;
        case WM_CLOSE: return true;
        default: return false;
    }
}

bool NativeForm::PreTranslate(MSG& message) {
    if (!IsInWindow(message.hwnd)) return false;
    // Dialog navigation swallows the Esc key-down, so key preview looks first.
    if (message.message == WM_KEYDOWN && message.wParam == VK_ESCAPE) {
        std::int16_t escape = kEscape;
        if (keyPreview_) keyPreview_(escape);
        return true;
    }
    if (message.message == WM_CHAR && keyPreview_) {
        auto code = static_cast<std::int16_t>(message.wParam);
        keyPreview_(code);
        message.wParam = static_cast<WPARAM>(static_cast<std::uint16_t>(code));
        return false;
    }
    if (message.message == WM_KEYDOWN && message.wParam == VK_RETURN &&
        message.hwnd == Control(ControlId::Dir1)) {
        OpenFolder();
        return true;
    }
    return false;
}

void NativeForm::OpenFolder() {
    try {
        dir1_->OpenSelected();
    } catch (const AppError& error) {
        if (errorReport_) errorReport_(error);
    }
}

// One user action at a time: a notification that arrives while a handler
// runs (from inside a message box, say) is not taken.
void NativeForm::RunUserAction(ControlId id) {
    if (inUserAction_ || !userAction_) return;
    inUserAction_ = true;
    userAction_(id);
    inUserAction_ = false;
}

void NativeForm::OnCommand(ControlId id, UINT notification) {
    switch (id) {
        case ControlId::Lang:
            if (notification == LBN_SELCHANGE) RunUserAction(id);
            break;
        case ControlId::Drive1:
            if (notification == CBN_SELCHANGE) RunUserAction(id);
            break;
        case ControlId::Search:
        case ControlId::Intro:
            if (notification == BN_CLICKED) RunUserAction(id);
            break;
        case ControlId::Icona:
            if (notification == BN_CLICKED) icona_->Toggle();
            break;
        case ControlId::Platform0:
        case ControlId::Platform1:
        case ControlId::Platform2:
            if (notification == BN_CLICKED) platform_->UpdateTabStop();
            break;
        case ControlId::Dir1:
            if (notification == LBN_DBLCLK) OpenFolder();
            break;
        default:
            break;
    }
}

LRESULT CALLBACK NativeForm::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* form = reinterpret_cast<NativeForm*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (form == nullptr || form->handle_ != window) return DefWindowProcW(window, message, wParam, lParam);
    return form->Handle(message, wParam, lParam);
}

LRESULT NativeForm::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            if (lParam != 0) OnCommand(static_cast<ControlId>(LOWORD(wParam)), HIWORD(wParam));
            return 0;
        case WM_SETCURSOR:
            if (window_ && window_->Busy()) {
                SetCursor(LoadCursorW(nullptr, IDC_WAIT));
                return TRUE;
            }
            break;
        case WM_ACTIVATE:
            if (LOWORD(wParam) == WA_INACTIVE) {
                lastFocus_ = GetFocus();
            } else if (lastFocus_ != nullptr && IsChild(handle_, lastFocus_)) {
                SetFocus(lastFocus_);
                return 0;
            }
            break;
        case WM_DPICHANGED: {
            const auto* suggested = reinterpret_cast<const RECT*>(lParam);
            SetWindowPos(handle_, nullptr, suggested->left, suggested->top, 0, 0,
                         SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            LayOut(HIWORD(wParam));
            return 0;
        }
        case WM_CLOSE:
            // Sent by another program during a wait: the handler under way
            // must not go on without its window.
            if (requests_.Waiting()) requests_.EndProgramNow();
            break;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        default:
            break;
    }
    return DefWindowProcW(handle_, message, wParam, lParam);
}

}  // namespace zoriza
