#include "platform/win32/win32_error.h"
#include "platform/win32/unique_handle.h"
#include "platform/base/text.h"

namespace zoriza {

std::wstring SystemMessage(DWORD code) {
    UniqueLocalString buffer;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<wchar_t*>(buffer.put()), 0, nullptr);
    std::wstring text = length > 0 ? std::wstring(buffer.get(), length) : std::wstring();
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' ')) {
        text.pop_back();
    }
    if (text.empty()) text = L"System error " + DecimalText(code);
    return text;
}

AppError FileError(DWORD code) {
    std::int32_t number = kPathFileAccessError;
    switch (code) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
            number = kPathNotFound;
            break;
        case ERROR_NOT_READY:
        case ERROR_INVALID_DRIVE:
        case ERROR_BAD_NETPATH:
        case ERROR_BAD_NET_NAME:
        case ERROR_NETNAME_DELETED:
        case ERROR_UNRECOGNIZED_VOLUME:
        case ERROR_DEV_NOT_EXIST:
        case ERROR_GEN_FAILURE:
            number = kDeviceUnavailable;
            break;
        case ERROR_INVALID_NAME:
        case ERROR_BAD_PATHNAME:
        case ERROR_FILENAME_EXCED_RANGE:
            number = kBadFileName;
            break;
        default:
            break;
    }
    return AppError(number, SystemMessage(code));
}

AppError ComError(HRESULT result) {
    return AppError(static_cast<std::int32_t>(result), SystemMessage(static_cast<DWORD>(result)));
}

void CheckCom(HRESULT result) {
    if (FAILED(result)) throw ComError(result);
}

}  // namespace zoriza
