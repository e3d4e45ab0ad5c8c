// The switches: case-insensitive, "/" or "-" before each, a value after a colon.
#include <algorithm>
#include <array>
#include <utility>

#include "platform/base/error.h"
#include "platform/base/text.h"
#include "unattended/server_folder_spelling.h"
#include "unattended/unattended.h"

namespace zoriza {

namespace {

enum class Switch { Help, Create, Remove, Check, Scan, AllUsers, Edition, Folder, Platform, Desktop, Lang, Log, Count };

struct SwitchName {
    const wchar_t* upper;  // the name in upper case, as it is compared
    Switch which;
    // The values it takes, as shown in a message; for a choice, the choices
    // in index order between bars. Empty for a switch without a value.
    const wchar_t* values;
};

constexpr std::array<SwitchName, 12> kSwitches = {{
    {L"?", Switch::Help, L""},
    {L"CREATE", Switch::Create, L""},
    {L"REMOVE", Switch::Remove, L""},
    {L"CHECK", Switch::Check, L""},
    {L"SCAN", Switch::Scan, L""},
    {L"ALLUSERS", Switch::AllUsers, L""},
    {L"EDITION", Switch::Edition, L"VekPro|VekFin|VekCom|VekNom"},
    {L"FOLDER", Switch::Folder, L"PATH (a drive and folder, such as F:\\VekPro)"},
    {L"PLATFORM", Switch::Platform, L"16|32|64"},
    {L"DESKTOP", Switch::Desktop, L"yes|no"},
    {L"LANG", Switch::Lang, L"ca|gl|oc|es"},
    {L"LOG", Switch::Log, L"FILE"},
}};

const SwitchName* Find(const std::wstring& upperName) {
    for (const SwitchName& entry : kSwitches) {
        if (upperName == entry.upper) return &entry;
    }
    return nullptr;
}

// The index of `value` among the bar-separated `choices`, in any case.
std::optional<std::int16_t> ChoiceIndex(std::wstring_view choices, const std::wstring& value) {
    const std::wstring wanted = AsciiUpper(value);
    std::int16_t index = 0;
    for (std::size_t begin = 0;; ++index) {
        const std::size_t end = std::min(choices.find(L'|', begin), choices.size());
        if (AsciiUpper(std::wstring(choices.substr(begin, end - begin))) == wanted) return index;
        if (end == choices.size()) return std::nullopt;
        begin = end + 1;
    }
}

bool IsLetter(wchar_t c) { return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z'); }

// A drive and folder as the folder list holds one: "F:", "F:\" or "F:\VekPro".
bool IsServerFolder(const std::wstring& text) {
    return text.size() >= 2 && IsLetter(text[0]) && text[1] == L':' && (text.size() == 2 || text[2] == L'\\');
}

bool IsHelp(const std::wstring& argument) { return argument == L"/?" || argument == L"-?"; }

bool IsSwitch(const std::wstring& argument) {
    return argument.size() >= 2 && (argument[0] == L'/' || argument[0] == L'-');
}

class Parser {
public:
    CommandLine Parse(const std::vector<std::wstring>& arguments) {
        if (std::none_of(arguments.begin(), arguments.end(), IsSwitch)) return result_;
        for (const std::wstring& argument : arguments) {
            if (IsHelp(argument)) return CommandLine{RunMode::Help, {}, {}};
            if (result_.usageError.empty()) Take(argument);
        }
        if (result_.usageError.empty()) CheckTogether(!arguments.empty());
        return result_;
    }

private:
    void Refuse(std::initializer_list<std::wstring_view> why) {
        if (result_.usageError.empty()) result_.usageError = Joined(why);
    }

    bool& Seen(Switch which) { return seen_[static_cast<std::size_t>(which)]; }

    void Take(const std::wstring& argument) {
        if (argument.size() < 2 || (argument[0] != L'/' && argument[0] != L'-')) {
            return Refuse({L"unexpected argument \"", argument, L"\""});
        }
        const std::size_t colon = argument.find(L':');
        const std::wstring shown = L"/" + argument.substr(1, colon == std::wstring::npos ? colon : colon - 1);
        const SwitchName* known = Find(AsciiUpper(shown.substr(1)));
        if (known == nullptr) return Refuse({L"unknown switch ", shown});
        if (Seen(known->which)) return Refuse({shown, L" is given twice"});
        Seen(known->which) = true;
        if (known->which == Switch::Log) return TakeLog(colon == std::wstring::npos ? L"" : argument.substr(colon + 1));
        const bool valued = *known->values != L'\0';
        if (!valued) {
            if (colon != std::wstring::npos) return Refuse({shown, L" takes no value"});
            return TakeFlag(known->which);
        }
        const std::wstring value = colon == std::wstring::npos ? std::wstring() : argument.substr(colon + 1);
        if (value.empty()) return Refuse({shown, L" needs a value: ", shown, L":", known->values});
        TakeValue(*known, shown, value);
    }

    void TakeFlag(Switch which) {
        switch (which) {
            case Switch::Scan: result_.options.scan = true; return;
            case Switch::AllUsers: result_.options.allUsers = true; return;
            case Switch::Create: result_.mode = RunMode::Create; return;
            case Switch::Remove: result_.mode = RunMode::Remove; return;
            case Switch::Check: result_.mode = RunMode::Check; return;
            case Switch::Help:
            case Switch::Edition:
            case Switch::Folder:
            case Switch::Platform:
            case Switch::Desktop:
            case Switch::Lang:
            case Switch::Log:
            case Switch::Count: break;
        }
        ThrowInternalError();
    }

    // Without a file name, the log goes to a file of its own in the user's
    // temporary folder.
    void TakeLog(const std::wstring& file) { result_.options.logFile = file; }

    void TakeValue(const SwitchName& known, const std::wstring& shown, const std::wstring& value) {
        UnattendedOptions& options = result_.options;
        if (known.which == Switch::Folder) {
            if (value.find(L'"') != std::wstring::npos) {
                return Refuse({L"bad value for ", shown, L": \"", value,
                               L"\" (a quoted folder must not end in a backslash: \"F:\\Vek Pro\")"});
            }
            if (!IsServerFolder(value)) {
                return Refuse({L"bad value for ", shown, L": \"", value, L"\" (a drive and folder, such as F:\\VekPro)"});
            }
            const std::wstring malformed = MalformedServerFolder(value);
            if (!malformed.empty()) return Refuse({L"bad value for ", shown, L": \"", value, L"\" (", malformed, L")"});
            options.folder = value;
            return;
        }
        const std::optional<std::int16_t> index = ChoiceIndex(known.values, value);
        if (!index) return Refuse({L"bad value for ", shown, L": \"", value, L"\" (one of ", known.values, L")"});
        switch (known.which) {
            case Switch::Edition: options.edition = index; return;
            case Switch::Platform: options.platform = index; return;
            case Switch::Desktop: options.desktop = *index == 0; return;
            case Switch::Lang: options.language = index; return;
            case Switch::Help:
            case Switch::Create:
            case Switch::Remove:
            case Switch::Check:
            case Switch::Scan:
            case Switch::AllUsers:
            case Switch::Folder:
            case Switch::Log:
            case Switch::Count: break;
        }
        ThrowInternalError();
    }

    void CheckTogether(bool anyArgument) {
        const std::pair<Switch, const wchar_t*> commands[] = {
            {Switch::Create, L"/create"}, {Switch::Remove, L"/remove"}, {Switch::Check, L"/check"}};
        const wchar_t* first = nullptr;
        for (const auto& [command, name] : commands) {
            if (!Seen(command)) continue;
            if (first != nullptr) return Refuse({first, L" and ", name, L" cannot be used together"});
            first = name;
        }
        if (Seen(Switch::Folder) && Seen(Switch::Scan)) return Refuse({L"/folder and /scan cannot be used together"});
        if (anyArgument && result_.mode == RunMode::Window) Refuse({L"/create, /check or /remove is missing"});
        CheckEveryUsersFolder();
    }

    // Shortcuts for every user start what an administrator named, never a
    // folder a scan found or the current folder happened to be: on a shared
    // machine another user may have made either.
    void CheckEveryUsersFolder() {
        if (!Seen(Switch::AllUsers)) return;
        const wchar_t* nameIt = L": name the server folder, such as /folder:F:\\VekPro";
        if (Seen(Switch::Scan)) return Refuse({L"/allusers and /scan cannot be used together", nameIt});
        if (!Seen(Switch::Folder) && result_.mode != RunMode::Remove) Refuse({L"/allusers needs /folder", nameIt});
    }

    CommandLine result_;
    std::array<bool, static_cast<std::size_t>(Switch::Count)> seen_{};
};

constexpr const wchar_t* kUsageLines[] = {
    L"ZORIZA.exe                      the window",
    L"ZORIZA.exe /create [options]    what CREAR does, without the window",
    L"ZORIZA.exe /check [options]     whether what /create would write is in place; writes nothing",
    L"ZORIZA.exe /remove [options]    removes the shortcuts /create writes, and only those",
    L"ZORIZA.exe /?                   this text",
    L"options (a switch left out takes the value the window would show at start):",
    L"  /edition:VekPro|VekFin|VekCom|VekNom",
    L"  /folder:PATH        the server folder, a drive and folder such as F:\\VekPro",
    L"  /scan               find the edition's folder on the drives instead",
    L"  /platform:16|32|64",
    L"  /desktop:yes|no",
    L"  /lang:ca|gl|oc|es   the language of the shortcuts' names",
    L"  /allusers           every user's Desktop and Start menu, as an administrator, for the",
    L"                      folder /folder names (never /scan or the current folder); no setting",
    L"                      is read or saved, so a choice left out takes its first-start value:",
    L"                      VekPro, 64 bit (32 on a 32-bit Windows), no desktop shortcut,",
    L"                      the system's language",
    L"  /log:FILE           also append the output lines to FILE (UTF-8)",
    L"  /log                the same, to a new ZORIZA-<command>-<date>-<time>-<random>.log in",
    L"                      %TEMP%; as SYSTEM or with /allusers, in the machine's log folder",
    L"                      %ProgramData%\\Microsoft\\IntuneManagementExtension\\Logs",
    L"/remove uses /edition, /allusers and /log; it checks the other options and ignores them.",
    L"The lines on a pipe or in a redirected file are in the console's code page (the OEM",
    L"code page when there is no console); a character it lacks is shown as \"?\".",
    L"exit codes: 0 done (/check: everything in place); 1 usage error, nothing done;",
    L"  2 launcher not found, nothing written;",
    L"  3 a shortcut could not be written or removed, those before it stay, settings not saved;",
    L"  4 shortcuts written, a setting not saved; 5 unexpected error;",
    L"  6 /check: something is missing or differs, and /create would put it in place;",
    L"  7 /allusers without administrator rights, nothing done.",
};

}  // namespace

CommandLine ParseCommandLine(const std::vector<std::wstring>& arguments) { return Parser().Parse(arguments); }

std::span<const wchar_t* const> UsageLines() { return kUsageLines; }

}  // namespace zoriza
