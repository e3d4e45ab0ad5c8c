// The window as designed: the thirteen controls in the order they are created,
// with positions and sizes in twips (1/1440 inch; 15 twips a pixel at 96 DPI).
// A control inside a frame is placed from the frame's outer top-left corner.
#pragma once

#include <array>
#include <cstdint>
#include <span>

namespace zoriza {

enum class ControlId : std::uint16_t {
    None = 0,
    Intro = 101,
    Frame3,
    Icona,
    Frame2,
    Platform2,
    Platform1,
    Platform0,
    Frame1,
    Dir1,
    Drive1,
    Search,
    App,
    Lang,
};

enum class ControlKind { CommandButton, Frame, CheckBox, OptionButton, FolderList, DriveList, ListBox };

struct TwipsRect {
    int left;
    int top;
    int width;
    int height;
};

struct ControlDesign {
    ControlId id;
    const wchar_t* name;
    ControlKind kind;
    ControlId container;  // None: the window's client area
    const wchar_t* designText;
    TwipsRect rect;
    int tabIndex;
};

inline constexpr int kClientWidthTwips = 7170;
inline constexpr int kClientHeightTwips = 6930;
inline constexpr int kTwipsPerInch = 1440;

inline constexpr wchar_t kApplicationTitle[] = L"ZORIZA";
inline constexpr wchar_t kDesignCaption[] = L"ZORIZA Connexió client a servidor d'aplicacions VEK";
inline constexpr wchar_t kFontName[] = L"Lucida Console";
inline constexpr int kFontHundredthsOfPoint = 975;

inline constexpr std::array<const wchar_t*, 4> kLanguageNames = {
    L"Català", L"Galego", L"Aranés", L"Castellano"};

inline constexpr std::array<ControlDesign, 13> kControlDesigns = {{
    {ControlId::Intro, L"Intro", ControlKind::CommandButton, ControlId::None, L"CREAR", {240, 6120, 6615, 615}, 8},
    {ControlId::Frame3, L"Frame3", ControlKind::Frame, ControlId::None, L"Icones addicionals", {3720, 4920, 3135, 975}, 7},
    {ControlId::Icona, L"Icona", ControlKind::CheckBox, ControlId::Frame3, L"Accés escriptori", {120, 240, 2895, 195}, 9},
    {ControlId::Frame2, L"Frame2", ControlKind::Frame, ControlId::None, L"Plataforma", {240, 4920, 2535, 975}, 6},
    {ControlId::Platform2, L"Platform(2)", ControlKind::OptionButton, ControlId::Frame2, L"64 bit", {120, 720, 2055, 195}, 12},
    {ControlId::Platform1, L"Platform(1)", ControlKind::OptionButton, ControlId::Frame2, L"32 bit", {120, 480, 2055, 195}, 11},
    {ControlId::Platform0, L"Platform(0)", ControlKind::OptionButton, ControlId::Frame2, L"16 bit", {120, 240, 2055, 195}, 10},
    {ControlId::Frame1, L"Frame1", ControlKind::Frame, ControlId::None, L"Servidor", {240, 1440, 6615, 3255}, 2},
    {ControlId::Dir1, L"Dir1", ControlKind::FolderList, ControlId::Frame1, L"", {120, 1440, 6375, 1665}, 5},
    {ControlId::Drive1, L"Drive1", ControlKind::DriveList, ControlId::Frame1, L"", {120, 960, 6375, 315}, 4},
    {ControlId::Search, L"Search", ControlKind::CommandButton, ControlId::Frame1, L"EXAMINAR", {120, 240, 6375, 495}, 3},
    {ControlId::App, L"App", ControlKind::ListBox, ControlId::None, L"", {240, 480, 6615, 840}, 1},
    {ControlId::Lang, L"Lang", ControlKind::ListBox, ControlId::None, L"", {240, 120, 6615, 255}, 0},
}};

// The `Platform` option buttons by index: 0 "16 bit" (top) to 2 "64 bit".
inline constexpr std::array<ControlId, 3> kPlatformButtons = {
    ControlId::Platform0, ControlId::Platform1, ControlId::Platform2};

const ControlDesign& DesignOf(ControlId id);

// The control's rectangle in twips from the client area's top-left corner.
TwipsRect ClientTwips(const ControlDesign& design);

// The controls ordered by tab index.
std::array<ControlId, kControlDesigns.size()> TabOrder();

// Twips to pixels at `dpi` dots per inch, rounded as MulDiv rounds.
int TwipsToPixels(int twips, int dpi);

}  // namespace zoriza
