// The five stored settings as a whole, to show that a run left every one of
// them byte for byte as it was.
#pragma once

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "tests/e2e/e2e_support.h"

namespace zoriza::e2e {

using StoredSettings = std::vector<std::optional<StoredValue>>;

inline StoredSettings StoredNow() {
    StoredSettings settings;
    for (const wchar_t* name : kSettingNames) settings.push_back(Stored(name));
    return settings;
}

// Type and data of every setting as in `before`; a missing one still missing.
inline ::testing::AssertionResult Unchanged(const StoredSettings& before) {
    const StoredSettings after = StoredNow();
    for (std::size_t i = 0; i < kSettingNames.size(); ++i) {
        const bool same = before[i].has_value() == after[i].has_value() &&
                          (!before[i] || (before[i]->type == after[i]->type && before[i]->data == after[i]->data));
        if (!same) {
            return ::testing::AssertionFailure()
                   << ::testing::PrintToString(std::wstring(kSettingNames[i])) << " changed: "
                   << (after[i] ? ::testing::PrintToString(after[i]->Text()) + " type " + std::to_string(after[i]->type)
                                : std::string("removed"));
        }
    }
    return ::testing::AssertionSuccess();
}

// Each of `settings` (name and text) stored as text, reading as given.
inline void ExpectStoredSettings(const auto& settings) {
    for (const auto& [name, text] : settings) {
        const auto value = Stored(name);
        ASSERT_TRUE(value.has_value()) << name;
        EXPECT_EQ(value->type, static_cast<DWORD>(REG_SZ)) << name;
        EXPECT_EQ(value->Text(), text) << name;
    }
}

}  // namespace zoriza::e2e
