// Turns a fuzzer's bytes into the values the core takes: 16-bit code units
// as text, with a few leading bytes picked off for small choices.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace zoriza::fuzz {

class FuzzInput {
public:
    FuzzInput(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    std::uint8_t Byte() { return position_ < size_ ? data_[position_++] : 0; }

    std::int16_t Int16() {
        const std::uint16_t low = Byte();
        return static_cast<std::int16_t>(low | static_cast<std::uint16_t>(Byte()) << 8);
    }

    // Up to `maxUnits` UTF-16 code units; a zero unit ends the text early.
    std::wstring Text(std::size_t maxUnits) {
        std::wstring text;
        while (text.size() < maxUnits && position_ + 1 < size_) {
            const auto unit = static_cast<wchar_t>(data_[position_] | data_[position_ + 1] << 8);
            position_ += 2;
            if (unit == 0) break;
            text += unit;
        }
        return text;
    }

    std::wstring Rest() { return Text(size_); }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t position_ = 0;
};

}  // namespace zoriza::fuzz
