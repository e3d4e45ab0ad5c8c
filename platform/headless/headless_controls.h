// The window toolkit without a window: controls that hold their values, raise
// their events synchronously and reject invalid values with the same error
// numbers as the real ones. The program runs its form on them when it works
// unattended; the host tests run it on them too.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "platform/window_toolkit.h"

namespace zoriza {

class HeadlessCaption : public Captioned {
public:
    explicit HeadlessCaption(std::wstring caption = L"") : caption_(std::move(caption)) {}
    std::wstring Caption() const override { return caption_; }
    void SetCaption(const std::wstring& text) override { caption_ = text; }

private:
    std::wstring caption_;
};

class HeadlessListBox : public ListBox {
public:
    explicit HeadlessListBox(std::vector<std::wstring> entries) : entries_(std::move(entries)) {}
    std::int16_t ListCount() const override { return static_cast<std::int16_t>(entries_.size()); }
    std::wstring List(std::int16_t index) const override;
    void SetList(std::int16_t index, const std::wstring& text) override;
    std::int16_t ListIndex() const override { return index_; }
    void SetListIndex(std::int16_t index) override;
    std::wstring Text() const override;
    void OnClick(EventHandler handler) override { onClick_ = std::move(handler); }

    // Clears the selection as a freshly created list has it.
    void ClearSelection() { index_ = -1; }

private:
    std::vector<std::wstring> entries_;
    std::int16_t index_ = -1;
    EventHandler onClick_;
};

class HeadlessOptionGroup : public OptionGroup {
public:
    std::int16_t Count() const override { return static_cast<std::int16_t>(enabled_.size()); }
    bool Enabled(std::int16_t index) const override { return enabled_[Checked(index)]; }
    void SetEnabled(std::int16_t index, bool enabled) override { enabled_[Checked(index)] = enabled; }
    bool Value(std::int16_t index) const override { return selected_ == Checked(index); }
    void Select(std::int16_t index) override { selected_ = Checked(index); }
    // No option selected, as a freshly created group has it.
    void ClearAll() { selected_ = kNone; }

private:
    static constexpr std::size_t kNone = 99;
    static std::size_t Checked(std::int16_t index);

    std::array<bool, 3> enabled_{true, true, true};
    std::size_t selected_ = kNone;
};

class HeadlessCheckBox : public CheckBox {
public:
    explicit HeadlessCheckBox(std::wstring caption) : caption_(std::move(caption)) {}
    std::wstring Caption() const override { return caption_; }
    void SetCaption(const std::wstring& text) override { caption_ = text; }
    std::int16_t Value() const override { return value_; }
    void SetValue(std::int16_t value) override;

private:
    std::wstring caption_;
    std::int16_t value_ = kCleared;
};

// Drive entries in the order they were given, on `currentDrive` (on the first
// entry when that is none of them); the folder list checks the drives.
class HeadlessDriveList : public DriveList {
public:
    HeadlessDriveList(std::vector<std::wstring> entries, const std::wstring& currentDrive);
    std::int16_t ListCount() const override { return static_cast<std::int16_t>(entries_.size()); }
    std::wstring List(std::int16_t index) const override;
    std::wstring Drive() const override { return entries_.empty() ? std::wstring() : entries_[index_]; }
    void SetDrive(const std::wstring& text) override;
    void ShowDrive(const std::wstring& text) override;
    void OnChange(EventHandler handler) override { onChange_ = std::move(handler); }

private:
    // The entry of the drive `text` begins with, or entries_.size() when none.
    std::size_t Find(const std::wstring& text) const;
    std::size_t IndexOf(const std::wstring& text) const;

    std::vector<std::wstring> entries_;
    std::size_t index_ = 0;
    EventHandler onChange_;
};

struct ShownMessage {
    std::wstring text;
    std::wstring title;
    MessageIcon icon;
};

// Shows nothing: the messages are kept, in order, for whoever runs the form.
class HeadlessWindow : public Window {
public:
    explicit HeadlessWindow(std::wstring caption) : caption_(std::move(caption)) {}
    std::wstring Caption() const override { return caption_; }
    void SetCaption(const std::wstring& text) override { caption_ = text; }
    void Unload() override { unloaded_ = true; }
    void EndProgram() override { ended_ = true; }
    void ShowMessage(const std::wstring& text, const std::wstring& title, MessageIcon icon) override;
    void SetBusy(bool busy) override;

    const std::vector<ShownMessage>& Messages() const { return messages_; }
    bool Unloaded() const { return unloaded_; }
    bool Ended() const { return ended_; }
    bool Busy() const { return busy_; }
    int BusyPeriods() const { return busyPeriods_; }

private:
    std::wstring caption_;
    std::vector<ShownMessage> messages_;
    bool unloaded_ = false;
    bool ended_ = false;
    bool busy_ = false;
    int busyPeriods_ = 0;
};

}  // namespace zoriza
