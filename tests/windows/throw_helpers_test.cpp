// The standard library's failures as the program's own throw helpers raise
// them: the dispatcher reads out of memory from std::bad_alloc and the rest
// from what(), so both must come out as the library's own would.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace zoriza {
namespace {

std::string WhatOf(const std::function<void()>& failing) {
    try {
        failing();
    } catch (const std::bad_alloc&) {
        return "bad_alloc";
    } catch (const std::exception& error) {
        return error.what();
    }
    return "nothing thrown";
}

TEST(ThrowHelpersTest, EachFailureReadsAsTheLibrarysOwn) {
    const std::wstring two = L"ab";
    const std::vector<int> none;
    const struct {
        const char* what;
        std::function<void()> failing;
    } cases[] = {
        {"basic_string::substr: __pos (which is 3) > this->size() (which is 2)", [&] { (void)two.substr(3); }},
        {"basic_string::at: __n (which is 4000000000) >= this->size() (which is 2)",
         [&] { (void)two.at(4000000000U); }},
        {"vector::_M_range_check: __n (which is 0) >= this->size() (which is 0)", [&] { (void)none.at(0); }},
        {"map::at", [] { (void)std::map<int, int>().at(1); }},
        {"vector::reserve", [] { std::vector<int>().reserve(std::vector<int>().max_size() + 1); }},
        {"basic_string: construction from null is not valid", [] { (void)std::wstring(nullptr, 1); }},
        // More elements than a size can count, and more than memory can hold.
        {"bad_alloc", [] { (void)std::allocator<std::int64_t>().allocate(SIZE_MAX / 4); }},
        {"bad_alloc", [] { (void)std::allocator<std::int64_t>().allocate(SIZE_MAX / 12); }},
        {"bad_function_call", [] { std::function<void()>()(); }},
    };
    for (const auto& c : cases) EXPECT_EQ(WhatOf(c.failing), c.what);
}

}  // namespace
}  // namespace zoriza
