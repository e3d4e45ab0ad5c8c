// A Form1 over the platform held in memory, in its design-time state: drive
// C: with the user's folders and the current folder C:\Work, and a server
// drive F: holding VekPro\VEKBIN.BAT.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "localisation/catalogue.h"
#include "main_window/layout.h"
#include "main_window/main_window.h"
#include "tests/memory_platform/memory_controls.h"
#include "tests/memory_platform/memory_environment.h"
#include "tests/memory_platform/memory_file_system.h"
#include "tests/memory_platform/memory_registry.h"
#include "tests/memory_platform/memory_shell_links.h"
#include "platform/base/text.h"

namespace zoriza::testing {

inline constexpr wchar_t kDesktopFolder[] = L"C:\\Users\\ana\\Desktop";
inline constexpr wchar_t kProgramsFolder[] = L"C:\\Users\\ana\\Programs";
inline constexpr wchar_t kStartFolder[] = L"C:\\Work";

inline std::vector<std::wstring> Texts(const auto& source) { return {source.begin(), source.end()}; }

// Drive C: with the user's folders and the current folder, drives F: and G:,
// and F:\VekPro\VEKBIN.BAT.
inline MemoryFileSystem DesignTimeFiles() {
    MemoryFileSystem files;
    files.AddDrive(L"C:");
    files.AddDrive(L"F:");
    files.AddDrive(L"G:");
    files.AddFolder(kDesktopFolder);
    files.AddFolder(kProgramsFolder);
    files.AddFolder(kStartFolder);
    files.AddFile(L"F:\\VekPro\\VEKBIN.BAT");
    return files;
}

struct FormFixture {
    MemoryFileSystem files = DesignTimeFiles();
    MemoryEnvironment environment;
    MemoryLanguageId languageIds{0x0403};
    MemoryRegistry registry;
    MemoryShellLinks shell{files, kDesktopFolder, kProgramsFolder};

    MemoryWindow window{kDesignCaption};
    MemoryListBox Lang{Texts(kLanguageNames)};
    MemoryListBox App{Texts(kEditionCaptions)};
    MemoryCaption Frame1{L"Servidor"};
    MemoryCaption Search{L"EXAMINAR"};
    MemoryDriveList Drive1;
    CountingFolderList Dir1{files, kStartFolder};
    MemoryCaption Frame2{L"Plataforma"};
    MemoryOptionGroup Platform;
    MemoryCaption Frame3{L"Icones addicionals"};
    MemoryCheckBox Icona{L"Accés escriptori"};
    MemoryCaption Intro{L"CREAR"};

    Form1 form{FormControls{window, Lang, App, Frame1, Search, Drive1, Dir1, Frame2, Platform, Frame3,
                            Icona, Intro},
               FormServices{files, environment, languageIds, registry, shell}};

    explicit FormFixture(std::vector<std::wstring> drives = {L"c: [System]", L"f: [\\\\server\\apps]", L"g:"})
        : Drive1(std::move(drives), L"c:") {
        CurrentLanguage.clear();
    }

    std::wstring Saved(const wchar_t* name) const {
        const MemoryRegistry::Value* value = registry.Find(kSettingsKeyForTests, name);
        if (value == nullptr) return L"<none>";
        std::wstring text;
        for (std::size_t i = 0; i + 1 < value->data.size(); i += 2) {
            const wchar_t c = static_cast<wchar_t>(value->data[i] | (value->data[i + 1] << 8));
            if (c == 0) break;
            text += c;
        }
        return text;
    }

    // The window showed exactly one message: the error report, titled
    // "ZORIZA" with the error icon, reading `text`; and the window stays.
    ::testing::AssertionResult ShowedOnlyTheErrorReport(const std::wstring& text) const {
        if (window.Messages().size() != 1) {
            return ::testing::AssertionFailure() << window.Messages().size() << " messages shown";
        }
        const ShownMessage& report = window.Messages()[0];
        if (report.title != L"ZORIZA" || report.icon != MessageIcon::Error || report.text != text) {
            return ::testing::AssertionFailure() << "shown " << ::testing::PrintToString(report.title) << ": "
                                                 << ::testing::PrintToString(report.text);
        }
        if (window.Unloaded() || window.Ended() || window.Busy()) {
            return ::testing::AssertionFailure() << "the window did not stay ready";
        }
        return ::testing::AssertionSuccess();
    }

    static constexpr wchar_t kSettingsKeyForTests[] = L"Software\\Ruvo Software\\ZorIza";
};

}  // namespace zoriza::testing
