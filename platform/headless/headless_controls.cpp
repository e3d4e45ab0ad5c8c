#include "platform/headless/headless_controls.h"

#include "platform/base/error.h"
#include "platform/base/text.h"

namespace zoriza {

std::wstring HeadlessListBox::List(std::int16_t index) const {
    if (index < 0 || index >= ListCount()) ThrowInvalidProperty();
    return entries_[static_cast<std::size_t>(index)];
}

void HeadlessListBox::SetList(std::int16_t index, const std::wstring& text) {
    if (index < 0 || index >= ListCount()) ThrowInvalidProperty();
    entries_[static_cast<std::size_t>(index)] = text;
}

void HeadlessListBox::SetListIndex(std::int16_t index) {
    if (index < 0 || index >= ListCount()) ThrowInvalidProperty();
    if (index == index_) return;
    index_ = index;
    if (onClick_) onClick_();
}

std::wstring HeadlessListBox::Text() const {
    return index_ < 0 ? std::wstring() : entries_[static_cast<std::size_t>(index_)];
}

std::size_t HeadlessOptionGroup::Checked(std::int16_t index) {
    if (index < 0 || index > 2) {
        throw AppError(kControlArrayElementMissing, L"Control array element does not exist");
    }
    return static_cast<std::size_t>(index);
}

void HeadlessCheckBox::SetValue(std::int16_t value) {
    if (value != kCleared && value != kChecked && value != kGreyed) ThrowInvalidProperty();
    value_ = value;
}

HeadlessDriveList::HeadlessDriveList(std::vector<std::wstring> entries, const std::wstring& currentDrive)
    : entries_(std::move(entries)) {
    const std::size_t current = Find(currentDrive);
    index_ = current < entries_.size() ? current : 0;
}

std::wstring HeadlessDriveList::List(std::int16_t index) const {
    if (index < 0 || index >= ListCount()) ThrowInvalidProperty();
    return entries_[static_cast<std::size_t>(index)];
}

std::size_t HeadlessDriveList::Find(const std::wstring& text) const {
    std::size_t i = 0;
    while (i < entries_.size() && DriveKey(entries_[i]) != DriveKey(text)) ++i;
    return i;
}

std::size_t HeadlessDriveList::IndexOf(const std::wstring& text) const {
    const std::size_t index = Find(text);
    if (index == entries_.size()) throw AppError(kDeviceUnavailable, L"Device unavailable");
    return index;
}

void HeadlessDriveList::SetDrive(const std::wstring& text) {
    const std::size_t index = IndexOf(text);
    if (index == index_) return;
    index_ = index;
    if (onChange_) onChange_();
}

void HeadlessDriveList::ShowDrive(const std::wstring& text) { index_ = IndexOf(text); }

void HeadlessWindow::ShowMessage(const std::wstring& text, const std::wstring& title, MessageIcon icon) {
    messages_.push_back({text, title, icon});
}

void HeadlessWindow::SetBusy(bool busy) {
    if (busy && !busy_) ++busyPeriods_;
    busy_ = busy;
}

}  // namespace zoriza
