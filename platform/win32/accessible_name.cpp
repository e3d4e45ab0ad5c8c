#include "platform/win32/accessible_name.h"

#include <oleacc.h>

#include <memory>

#include "platform/win32/com_ptr.h"
#include "platform/win32/system_libraries.h"
#include "platform/win32/win32_error.h"

namespace zoriza {

namespace {

// oleacc and oleaut32, looked up when first needed: a start-up without a
// screen reader never loads them.
struct AccessibilityLibrary {
    UniqueModule oleacc = LoadSystemLibrary(L"oleacc.dll");
    UniqueModule oleaut = LoadSystemLibrary(L"oleaut32.dll");
    decltype(&CreateStdAccessibleObject) createStandard =
        LookUp<decltype(&CreateStdAccessibleObject)>(oleacc.get(), "CreateStdAccessibleObject");
    decltype(&LresultFromObject) resultFromObject =
        LookUp<decltype(&LresultFromObject)>(oleacc.get(), "LresultFromObject");
    decltype(&SysAllocString) allocString = LookUp<decltype(&SysAllocString)>(oleaut.get(), "SysAllocString");

    bool Complete() const { return createStandard && resultFromObject && allocString; }
};

// The system's accessible object of a control, with another name for the
// control itself; its items keep theirs.
class NamedAccessible final : public IAccessible, public IOleWindow {
public:
    NamedAccessible(ComPtr<IAccessible> standard, HWND control, AccessibleNameSource name,
                    std::shared_ptr<const AccessibilityLibrary> library)
        : standard_(std::move(standard)), control_(control), name_(std::move(name)), library_(std::move(library)) {}

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override {
        if (object == nullptr) return E_POINTER;
        *object = nullptr;
        if (id == IID_IUnknown || id == IID_IDispatch || id == IID_IAccessible) {
            *object = static_cast<IAccessible*>(this);
        } else if (id == IID_IOleWindow) {
            *object = static_cast<IOleWindow*>(this);
        } else {
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&references_)); }
    ULONG STDMETHODCALLTYPE Release() override {
        const LONG left = InterlockedDecrement(&references_);
        if (left == 0) delete this;
        return static_cast<ULONG>(left);
    }

    // IOleWindow: which window the object stands for.
    HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) override {
        if (window == nullptr) return E_POINTER;
        *window = control_;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

    // IAccessible: the name of the control itself; the rest as the system tells it.
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
        if (child.vt != VT_I4 || child.lVal != CHILDID_SELF) return standard_->get_accName(child, name);
        if (name == nullptr) return E_POINTER;
        *name = library_->allocString(name_().c_str());
        return *name == nullptr ? E_OUTOFMEMORY : S_OK;
    }

    // IDispatch
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override { return standard_->GetTypeInfoCount(count); }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override {
        return standard_->GetTypeInfo(index, locale, info);
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID id, LPOLESTR* names, UINT count, LCID locale,
                                            DISPID* ids) override {
        return standard_->GetIDsOfNames(id, names, count, locale, ids);
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID member, REFIID id, LCID locale, WORD flags, DISPPARAMS* parameters,
                                     VARIANT* result, EXCEPINFO* exception, UINT* argument) override {
        return standard_->Invoke(member, id, locale, flags, parameters, result, exception, argument);
    }

    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override { return standard_->get_accParent(parent); }
    HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* count) override { return standard_->get_accChildCount(count); }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) override {
        return standard_->get_accChild(child, object);
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
        return standard_->get_accValue(child, value);
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* text) override {
        return standard_->get_accDescription(child, text);
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
        return standard_->get_accRole(child, role);
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
        return standard_->get_accState(child, state);
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override {
        return standard_->get_accHelp(child, help);
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, LONG* topic) override {
        return standard_->get_accHelpTopic(file, child, topic);
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override {
        return standard_->get_accKeyboardShortcut(child, shortcut);
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* child) override { return standard_->get_accFocus(child); }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* children) override {
        return standard_->get_accSelection(children);
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
        return standard_->get_accDefaultAction(child, action);
    }
    HRESULT STDMETHODCALLTYPE accSelect(LONG flags, VARIANT child) override {
        return standard_->accSelect(flags, child);
    }
    HRESULT STDMETHODCALLTYPE accLocation(LONG* left, LONG* top, LONG* width, LONG* height, VARIANT child) override {
        return standard_->accLocation(left, top, width, height, child);
    }
    HRESULT STDMETHODCALLTYPE accNavigate(LONG direction, VARIANT start, VARIANT* end) override {
        return standard_->accNavigate(direction, start, end);
    }
    HRESULT STDMETHODCALLTYPE accHitTest(LONG left, LONG top, VARIANT* child) override {
        return standard_->accHitTest(left, top, child);
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
        return standard_->accDoDefaultAction(child);
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override {
        return standard_->put_accValue(child, value);
    }

private:
    ~NamedAccessible() = default;

    LONG references_ = 1;
    ComPtr<IAccessible> standard_;
    HWND control_;
    AccessibleNameSource name_;
    std::shared_ptr<const AccessibilityLibrary> library_;
};

// What a named control keeps: its own window procedure and the name.
struct NamedControl {
    WNDPROC original;
    AccessibleNameSource name;
    std::shared_ptr<const AccessibilityLibrary> library;
};

// The answer to a reader's WM_GETOBJECT for the client area; 0 (the
// control's own answer is then given) when the library is missing.
LRESULT AnswerReader(HWND control, NamedControl& named, WPARAM flags) {
    if (!named.library) named.library = std::make_shared<const AccessibilityLibrary>();
    if (!named.library->Complete()) return 0;
    ComPtr<IAccessible> standard;
    if (FAILED(named.library->createStandard(control, OBJID_CLIENT, IID_IAccessible, standard.PutVoid()))) return 0;
    auto* object = new NamedAccessible(std::move(standard), control, named.name, named.library);
    const LRESULT answer = named.library->resultFromObject(IID_IAccessible, flags, static_cast<IAccessible*>(object));
    object->Release();
    return FAILED(answer) ? 0 : answer;
}

LRESULT CALLBACK NamedControlProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* named = reinterpret_cast<NamedControl*>(GetWindowLongPtrW(control, GWLP_USERDATA));
    const WNDPROC original = named->original;
    if (message == WM_GETOBJECT && static_cast<LONG>(lParam) == OBJID_CLIENT) {
        const LRESULT answer = AnswerReader(control, *named, wParam);
        if (answer != 0) return answer;
    } else if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
        SetWindowLongPtrW(control, GWLP_USERDATA, 0);
        delete named;
    }
    return CallWindowProcW(original, control, message, wParam, lParam);
}

}  // namespace

void GiveAccessibleName(HWND control, AccessibleNameSource name) {
    const auto original = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(control, GWLP_WNDPROC));
    if (original == nullptr) throw FileError(GetLastError());
    auto named = std::make_unique<NamedControl>(NamedControl{original, std::move(name), nullptr});
    SetLastError(ERROR_SUCCESS);
    if (SetWindowLongPtrW(control, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(named.get())) == 0 &&
        GetLastError() != ERROR_SUCCESS) {
        throw FileError(GetLastError());
    }
    if (SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&NamedControlProc)) == 0) {
        const DWORD error = GetLastError();
        SetWindowLongPtrW(control, GWLP_USERDATA, 0);
        throw FileError(error);
    }
    named.release();  // freed when the control goes
}

}  // namespace zoriza
