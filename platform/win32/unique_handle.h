// Owners for the handles the Windows API hands out: each closes its handle
// exactly once, when the owner goes out of scope or is given another one.
// Every handle of the program and its tests is closed here; COM objects are
// released by ComPtr (com_ptr.h).
#pragma once

#include <windows.h>
#include <objbase.h>

#include <utility>

namespace zoriza {

// Owns one handle described by `Traits`: the handle type, the value that
// means "no handle" and the function that closes it.
template <typename Traits>
class UniqueAny {
public:
    using Handle = typename Traits::Handle;

    UniqueAny() = default;
    explicit UniqueAny(Handle handle) : handle_(handle) {}
    ~UniqueAny() { reset(); }
    UniqueAny(const UniqueAny&) = delete;
    UniqueAny& operator=(const UniqueAny&) = delete;
    UniqueAny(UniqueAny&& other) noexcept : handle_(other.release()) {}
    UniqueAny& operator=(UniqueAny&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }

    Handle get() const { return handle_; }
    explicit operator bool() const { return handle_ != Traits::Invalid(); }

    // Closes the handle held, if any, and holds `handle` instead.
    void reset(Handle handle = Traits::Invalid()) {
        if (handle_ != Traits::Invalid()) Traits::Close(handle_);
        handle_ = handle;
    }
    // Gives the handle up without closing it.
    Handle release() { return std::exchange(handle_, Traits::Invalid()); }
    // For functions that hand a new handle out through a pointer.
    Handle* put() {
        reset();
        return &handle_;
    }

private:
    Handle handle_ = Traits::Invalid();
};

struct KernelHandleTraits {
    using Handle = HANDLE;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle handle) { CloseHandle(handle); }
};

// CreateFile and the find functions say "no handle" with INVALID_HANDLE_VALUE.
struct FileHandleTraits {
    using Handle = HANDLE;
    static Handle Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(Handle handle) { CloseHandle(handle); }
};

struct FindHandleTraits {
    using Handle = HANDLE;
    static Handle Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(Handle handle) { FindClose(handle); }
};

struct RegistryKeyTraits {
    using Handle = HKEY;
    static Handle Invalid() { return nullptr; }
    static LSTATUS Close(Handle key) { return RegCloseKey(key); }
};

struct FontTraits {
    using Handle = HFONT;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle font) { DeleteObject(font); }
};

// The screen's device context, from GetDC(nullptr).
struct ScreenDcTraits {
    using Handle = HDC;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle dc) { ReleaseDC(nullptr, dc); }
};

struct ModuleTraits {
    using Handle = HMODULE;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle module) { FreeLibrary(module); }
};

// Memory the system allocated for a message text (FORMAT_MESSAGE_ALLOCATE_BUFFER).
struct LocalMemoryTraits {
    using Handle = wchar_t*;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle memory) { LocalFree(memory); }
};

// The argument list CommandLineToArgvW allocated.
struct LocalArgumentsTraits {
    using Handle = wchar_t**;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle arguments) { LocalFree(arguments); }
};

// A security descriptor the system made from its text form.
struct LocalSecurityDescriptorTraits {
    using Handle = PSECURITY_DESCRIPTOR;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle descriptor) { LocalFree(descriptor); }
};

// A string the Shell allocated with the COM task allocator.
struct CoTaskStringTraits {
    using Handle = wchar_t*;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle text) { CoTaskMemFree(text); }
};

using UniqueHandle = UniqueAny<KernelHandleTraits>;
using UniqueFile = UniqueAny<FileHandleTraits>;
using UniqueFindHandle = UniqueAny<FindHandleTraits>;
using UniqueRegistryKey = UniqueAny<RegistryKeyTraits>;
using UniqueFont = UniqueAny<FontTraits>;
using UniqueScreenDc = UniqueAny<ScreenDcTraits>;
using UniqueModule = UniqueAny<ModuleTraits>;
using UniqueLocalString = UniqueAny<LocalMemoryTraits>;
using UniqueSecurityDescriptor = UniqueAny<LocalSecurityDescriptorTraits>;
using UniqueArgumentList = UniqueAny<LocalArgumentsTraits>;
using UniqueCoTaskString = UniqueAny<CoTaskStringTraits>;

// The two handles CreateProcess hands out.
struct UniqueProcess {
    UniqueHandle process;
    UniqueHandle thread;
    DWORD id = 0;
    DWORD threadId = 0;

    UniqueProcess() = default;
    explicit UniqueProcess(const PROCESS_INFORMATION& info)
        : process(info.hProcess), thread(info.hThread), id(info.dwProcessId), threadId(info.dwThreadId) {}
};

}  // namespace zoriza
