// The window toolkit as the form sees it: captions, list boxes, an option
// group, a check box, a drive list, a folder list and the window itself.
// Selecting a list entry or changing the drive from code raises the control's
// event synchronously, inside the call, exactly as a user's action does.
// Invalid arguments throw AppError with the number the toolkit documents.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace zoriza {

using EventHandler = std::function<void()>;

// The character code of the Esc key.
inline constexpr std::int16_t kEscape = 27;

class Captioned {
public:
    virtual ~Captioned() = default;
    virtual std::wstring Caption() const = 0;
    virtual void SetCaption(const std::wstring& text) = 0;
};

class ListBox {
public:
    virtual ~ListBox() = default;
    virtual std::int16_t ListCount() const = 0;
    virtual std::wstring List(std::int16_t index) const = 0;
    // Replaces the entry's text in place: count, order and selection stay.
    virtual void SetList(std::int16_t index, const std::wstring& text) = 0;
    // -1 when nothing is selected.
    virtual std::int16_t ListIndex() const = 0;
    // Raises the click event when the selection changes; an index outside the
    // entries throws kInvalidPropertyValue.
    virtual void SetListIndex(std::int16_t index) = 0;
    // Text of the selected entry; empty when nothing is selected.
    virtual std::wstring Text() const = 0;
    virtual void OnClick(EventHandler handler) = 0;
};

// Option buttons sharing one name, told apart by index; selecting one clears
// the others. An index outside the group throws kControlArrayElementMissing.
class OptionGroup {
public:
    virtual ~OptionGroup() = default;
    virtual std::int16_t Count() const = 0;
    virtual bool Enabled(std::int16_t index) const = 0;
    virtual void SetEnabled(std::int16_t index, bool enabled) = 0;
    virtual bool Value(std::int16_t index) const = 0;
    virtual void Select(std::int16_t index) = 0;
};

class CheckBox : public Captioned {
public:
    static constexpr std::int16_t kCleared = 0;
    static constexpr std::int16_t kChecked = 1;
    static constexpr std::int16_t kGreyed = 2;

    virtual std::int16_t Value() const = 0;
    // A value other than cleared, checked or greyed throws kInvalidPropertyValue.
    virtual void SetValue(std::int16_t value) = 0;
};

class DriveList {
public:
    virtual ~DriveList() = default;
    virtual std::int16_t ListCount() const = 0;
    // Entries begin with the drive letter and a colon ("c: [System]").
    virtual std::wstring List(std::int16_t index) const = 0;
    // The current drive as its entry's text.
    virtual std::wstring Drive() const = 0;
    // Takes the drive from the text's first two characters; raises the change
    // event when the drive changes. An unknown drive throws kDeviceUnavailable.
    virtual void SetDrive(const std::wstring& text) = 0;
    // Shows the drive without raising the change event: puts the list back on
    // the drive of the folder list after a change that could not be followed.
    virtual void ShowDrive(const std::wstring& text) = 0;
    virtual void OnChange(EventHandler handler) = 0;
};

class FolderList {
public:
    virtual ~FolderList() = default;
    // Full path without a final "\" except at a drive's root.
    virtual std::wstring Path() const = 0;
    // A bare drive ("F:") goes to that drive's current folder. An absent or
    // unreadable folder throws (kPathNotFound, kDeviceUnavailable, ...).
    virtual void SetPath(const std::wstring& path) = 0;
    // Reads the folders again from the disk.
    virtual void Refresh() = 0;
};

enum class MessageIcon { None, Error };

class Window : public Captioned {
public:
    // Closes the window and releases it.
    virtual void Unload() = 0;
    // Ends the program at once.
    virtual void EndProgram() = 0;
    // Modal; an empty title shows the application title.
    virtual void ShowMessage(const std::wstring& text, const std::wstring& title,
                             MessageIcon icon) = 0;
    // The wait cursor while a long action runs.
    virtual void SetBusy(bool busy) = 0;
};

}  // namespace zoriza
