#include "platform/base/error.h"

#include "platform/base/text.h"

namespace zoriza {

std::wstring ErrorText(const AppError& error) {
    return Joined({L"Error ", DecimalText(error.Number()), L": ", error.Description()});
}

}  // namespace zoriza
