// The switches: case-insensitive, "/" or "-" before each, a value after a colon.
#include <array>
#include <set>

#include "platform/base/text.h"
#include "unattended/unattended.h"

namespace zoriza {

namespace {

struct NamedValue {
    const wchar_t* name;
    std::int16_t value;
};

constexpr std::array<NamedValue, 4> kEditions = {{{L"VekPro", 0}, {L"VekFin", 1}, {L"VekCom", 2}, {L"VekNom", 3}}};
constexpr std::array<NamedValue, 3> kPlatforms = {{{L"16", 0}, {L"32", 1}, {L"64", 2}}};
constexpr std::array<NamedValue, 2> kYesNo = {{{L"yes", 1}, {L"no", 0}}};
constexpr std::array<NamedValue, 4> kLanguages = {{{L"ca", 0}, {L"gl", 1}, {L"oc", 2}, {L"es", 3}}};

bool SameLetters(const std::wstring& a, const wchar_t* b) { return AsciiUpper(a) == AsciiUpper(b); }

template <std::size_t N>
std::optional<std::int16_t> Lookup(const std::array<NamedValue, N>& table, const std::wstring& text) {
    for (const NamedValue& entry : table) {
        if (SameLetters(text, entry.name)) return entry.value;
    }
    return std::nullopt;
}

template <std::size_t N>
std::wstring Choices(const std::array<NamedValue, N>& table) {
    std::wstring text;
    for (const NamedValue& entry : table) text += (text.empty() ? L"" : L"|") + std::wstring(entry.name);
    return text;
}

bool IsLetter(wchar_t c) { return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z'); }

// A drive and folder as the folder list holds one: "F:", "F:\" or "F:\VekPro".
bool IsServerFolder(const std::wstring& text) {
    return text.size() >= 2 && IsLetter(text[0]) && text[1] == L':' && (text.size() == 2 || text[2] == L'\\');
}

class Parser {
public:
    CommandLine Parse(const std::vector<std::wstring>& arguments) {
        for (const std::wstring& argument : arguments) {
            if (result_.usageError.empty()) Take(argument);
            if (IsHelp(argument)) return CommandLine{RunMode::Help, {}, {}};
        }
        if (result_.usageError.empty()) CheckTogether(arguments);
        return result_;
    }

private:
    static bool IsHelp(const std::wstring& argument) { return argument == L"/?" || argument == L"-?"; }

    void Refuse(const std::wstring& why) {
        if (result_.usageError.empty()) result_.usageError = why;
    }

    void Take(const std::wstring& argument) {
        if (argument.size() < 2 || (argument[0] != L'/' && argument[0] != L'-')) {
            return Refuse(L"unexpected argument \"" + argument + L"\"");
        }
        const std::size_t colon = argument.find(L':');
        const std::wstring written = argument.substr(1, colon == std::wstring::npos ? colon : colon - 1);
        const std::wstring name = AsciiUpper(written);
        const std::wstring shown = L"/" + written;
        std::optional<std::wstring> value;
        if (colon != std::wstring::npos) value = argument.substr(colon + 1);
        const bool flag = name == L"?" || name == L"CREATE" || name == L"REMOVE" || name == L"SCAN";
        if (!flag && !IsValued(name)) return Refuse(L"unknown switch " + shown);
        if (!seen_.insert(name).second) return Refuse(shown + L" is given twice");
        if (flag) return TakeFlag(name, shown, value);
        if (!value || value->empty()) return Refuse(shown + L" needs a value: " + shown + L":" + ValueHint(name));
        TakeValue(name, shown, *value);
    }

    static bool IsValued(const std::wstring& name) {
        return name == L"EDITION" || name == L"FOLDER" || name == L"PLATFORM" || name == L"DESKTOP" ||
               name == L"LANG" || name == L"LOG";
    }

    static std::wstring ValueHint(const std::wstring& name) {
        if (name == L"EDITION") return Choices(kEditions);
        if (name == L"PLATFORM") return Choices(kPlatforms);
        if (name == L"DESKTOP") return Choices(kYesNo);
        if (name == L"LANG") return Choices(kLanguages);
        if (name == L"FOLDER") return L"PATH (a drive and folder, such as F:\\VekPro)";
        return L"FILE";
    }

    void TakeFlag(const std::wstring& name, const std::wstring& shown, const std::optional<std::wstring>& value) {
        if (value) return Refuse(shown + L" takes no value");
        if (name == L"?") return;
        if (name == L"SCAN") {
            result_.options.scan = true;
            return;
        }
        result_.mode = name == L"CREATE" ? RunMode::Create : RunMode::Remove;
    }

    template <std::size_t N>
    void Choose(std::optional<std::int16_t>& slot, const std::array<NamedValue, N>& table, const std::wstring& shown,
                const std::wstring& value) {
        slot = Lookup(table, value);
        if (!slot) Refuse(L"bad value for " + shown + L": \"" + value + L"\" (one of " + Choices(table) + L")");
    }

    void TakeValue(const std::wstring& name, const std::wstring& shown, const std::wstring& value) {
        UnattendedOptions& options = result_.options;
        if (name == L"EDITION") return Choose(options.edition, kEditions, shown, value);
        if (name == L"PLATFORM") return Choose(options.platform, kPlatforms, shown, value);
        if (name == L"LANG") return Choose(options.language, kLanguages, shown, value);
        if (name == L"DESKTOP") {
            std::optional<std::int16_t> yes;
            Choose(yes, kYesNo, shown, value);
            if (yes) options.desktop = *yes != 0;
            return;
        }
        if (name == L"FOLDER") {
            if (value.find(L'"') != std::wstring::npos) {
                return Refuse(L"bad value for " + shown + L": \"" + value +
                              L"\" (a quoted folder must not end in a backslash: \"F:\\Vek Pro\")");
            }
            if (!IsServerFolder(value)) {
                return Refuse(L"bad value for " + shown + L": \"" + value + L"\" (a drive and folder, such as F:\\VekPro)");
            }
            options.folder = value;
            return;
        }
        options.logFile = value;  // LOG
    }

    void CheckTogether(const std::vector<std::wstring>& arguments) {
        if (seen_.count(L"CREATE") != 0 && seen_.count(L"REMOVE") != 0) {
            return Refuse(L"/create and /remove cannot be used together");
        }
        if (seen_.count(L"FOLDER") != 0 && seen_.count(L"SCAN") != 0) {
            return Refuse(L"/folder and /scan cannot be used together");
        }
        if (!arguments.empty() && result_.mode == RunMode::Window) Refuse(L"/create or /remove is missing");
    }

    CommandLine result_;
    std::set<std::wstring> seen_;
};

}  // namespace

CommandLine ParseCommandLine(const std::vector<std::wstring>& arguments) { return Parser().Parse(arguments); }

std::vector<std::wstring> UsageLines() {
    return {
        L"ZORIZA.exe                      the window",
        L"ZORIZA.exe /create [options]    what CREAR does, without the window",
        L"ZORIZA.exe /remove [options]    removes what /create would have written",
        L"ZORIZA.exe /?                   this text",
        L"options (a switch left out takes the value the window would show at start):",
        L"  /edition:VekPro|VekFin|VekCom|VekNom",
        L"  /folder:PATH        the server folder, a drive and folder such as F:\\VekPro",
        L"  /scan               find the edition's folder on the drives instead",
        L"  /platform:16|32|64",
        L"  /desktop:yes|no",
        L"  /lang:ca|gl|oc|es   the language of the shortcuts' names",
        L"  /log:FILE           also append the output lines to FILE (UTF-8)",
        L"/remove uses /edition and /log; it checks the other options and ignores them.",
        L"exit codes: 0 done; 1 usage error, nothing done; 2 launcher not found, nothing written;",
        L"  3 a shortcut could not be written or removed, those before it stay, settings not saved;",
        L"  4 shortcuts written, a setting not saved; 5 unexpected error.",
    };
}

}  // namespace zoriza
