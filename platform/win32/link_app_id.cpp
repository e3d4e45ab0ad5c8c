#include "platform/win32/link_app_id.h"

#include <propsys.h>

#include <algorithm>
#include <array>
#include <cstddef>
#include <optional>

#include "platform/win32/com_ptr.h"
#include "platform/win32/win32_error.h"

namespace zoriza {

namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr std::size_t kHeaderSize = 0x4C;
constexpr std::size_t kFlagsOffset = 0x14;
constexpr std::uint32_t kHasIdList = 0x01;
constexpr std::uint32_t kHasLinkInfo = 0x02;
constexpr std::uint32_t kIsUnicode = 0x80;
// Name, relative path, working folder, arguments, icon location: each a
// count of characters and the characters.
constexpr std::array<std::uint32_t, 5> kStringFlags = {0x04, 0x08, 0x10, 0x20, 0x40};

constexpr std::uint32_t kPropertyStoreSignature = 0xA0000009;
constexpr std::uint32_t kStorageVersion = 0x53505331;  // "1SPS"
constexpr std::array<std::uint8_t, 16> kAppUserModelFormat = {0x55, 0x28, 0x4C, 0x9F, 0x79, 0x9F, 0x39, 0x4B,
                                                              0xA8, 0xD0, 0xE1, 0xD4, 0x2D, 0xE1, 0xD5, 0xF3};
constexpr std::uint32_t kAppUserModelIdProperty = 5;
constexpr std::uint16_t kTypeText = 0x1F;  // VT_LPWSTR

std::optional<std::uint32_t> Number(const Bytes& bytes, std::size_t at, std::size_t width) {
    if (at > bytes.size() || bytes.size() - at < width) return std::nullopt;
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < width; ++i) value |= static_cast<std::uint32_t>(bytes[at + i]) << (8 * i);
    return value;
}

void Append(Bytes& bytes, std::uint32_t value, std::size_t width) {
    for (std::size_t i = 0; i < width; ++i) bytes.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

struct Block {
    std::size_t offset;
    std::uint32_t size;
    std::uint32_t signature;
};

// The extra data blocks, and where the terminal block stands; none when the
// bytes are no shortcut.
struct ExtraData {
    std::vector<Block> blocks;
    std::size_t end;
};

// Where the extra data begins: past the header, the item list, the link
// information and the texts.
std::optional<std::size_t> ExtraDataStart(const Bytes& link) {
    const auto flags = Number(link, kFlagsOffset, 4);
    if (Number(link, 0, 4) != kHeaderSize || !flags) return std::nullopt;
    std::size_t at = kHeaderSize;
    if ((*flags & kHasIdList) != 0) {
        const auto size = Number(link, at, 2);
        if (!size) return std::nullopt;
        at += 2 + *size;
    }
    if ((*flags & kHasLinkInfo) != 0) {
        const auto size = Number(link, at, 4);
        if (!size) return std::nullopt;
        at += *size;
    }
    const std::size_t unitSize = (*flags & kIsUnicode) != 0 ? 2 : 1;
    for (const std::uint32_t flag : kStringFlags) {
        if ((*flags & flag) == 0) continue;
        const auto count = Number(link, at, 2);
        if (!count) return std::nullopt;
        at += 2 + *count * unitSize;
    }
    if (at > link.size()) return std::nullopt;
    return at;
}

std::optional<ExtraData> ExtraDataOf(const Bytes& link) {
    const auto start = ExtraDataStart(link);
    if (!start) return std::nullopt;
    ExtraData extra{{}, *start};
    while (true) {
        const auto size = Number(link, extra.end, 4);
        if (!size || *size < 4) return extra;  // the terminal block, or a file that ends without one
        const auto signature = Number(link, extra.end + 4, 4);
        if (*size < 8 || !signature || link.size() - extra.end < *size) return std::nullopt;
        extra.blocks.push_back({extra.end, *size, *signature});
        extra.end += *size;
    }
}

// The text value of the AppUserModelID in one serialized storage that
// begins at `at`, or none.
std::optional<std::wstring> IdInStorage(const Bytes& link, std::size_t at, std::size_t end) {
    if (Number(link, at + 4, 4) != kStorageVersion || end - at < 24) return std::nullopt;
    if (!std::equal(kAppUserModelFormat.begin(), kAppUserModelFormat.end(), link.begin() + at + 8)) {
        return std::nullopt;
    }
    for (std::size_t value = at + 24; value + 4 <= end;) {
        const auto size = Number(link, value, 4);
        if (!size || *size == 0 || end - value < *size) return std::nullopt;
        const auto characters = Number(link, value + 13, 4);
        if (Number(link, value + 4, 4) == kAppUserModelIdProperty && Number(link, value + 9, 2) == kTypeText &&
            characters && *characters > 0 && 17 + std::size_t{*characters} * 2 <= *size) {
            std::wstring id;
            for (std::uint32_t i = 0; i + 1 < *characters; ++i) {
                id.push_back(static_cast<wchar_t>(*Number(link, value + 17 + 2 * i, 2)));
            }
            return id;
        }
        value += *size;
    }
    return std::nullopt;
}

std::optional<std::wstring> IdInBlock(const Bytes& link, const Block& block) {
    const std::size_t end = block.offset + block.size;
    for (std::size_t storage = block.offset + 8; storage + 4 <= end;) {
        const auto size = Number(link, storage, 4);
        if (!size || *size == 0 || end - storage < *size) return std::nullopt;
        if (auto id = IdInStorage(link, storage, storage + *size)) return id;
        storage += *size;
    }
    return std::nullopt;
}

// A property store block that holds one storage with the one value.
Bytes PropertyStoreBlock(const std::wstring& id) {
    Bytes value;
    Append(value, kAppUserModelIdProperty, 4);
    value.push_back(0);
    Append(value, kTypeText, 2);
    Append(value, 0, 2);
    Append(value, static_cast<std::uint32_t>(id.size() + 1), 4);
    for (const wchar_t unit : id) Append(value, static_cast<std::uint16_t>(unit), 2);
    Append(value, 0, 2);
    while ((value.size() + 4) % 4 != 0) value.push_back(0);

    Bytes storage;
    Append(storage, kStorageVersion, 4);
    storage.insert(storage.end(), kAppUserModelFormat.begin(), kAppUserModelFormat.end());
    Append(storage, static_cast<std::uint32_t>(value.size() + 4), 4);
    storage.insert(storage.end(), value.begin(), value.end());
    Append(storage, 0, 4);  // no further value

    Bytes block;
    Append(block, static_cast<std::uint32_t>(8 + 4 + storage.size() + 4), 4);
    Append(block, kPropertyStoreSignature, 4);
    Append(block, static_cast<std::uint32_t>(4 + storage.size()), 4);
    block.insert(block.end(), storage.begin(), storage.end());
    Append(block, 0, 4);  // no further storage
    return block;
}

}  // namespace

void SetAppUserModelId(IShellLinkW& link, const std::wstring& id) {
    if (id.empty()) return;
    constexpr PROPERTYKEY kAppUserModelIdKey = {
        {0x9F4C2855, 0x9F79, 0x4B39, {0xA8, 0xD0, 0xE1, 0xD4, 0x2D, 0xE1, 0xD5, 0xF3}}, kAppUserModelIdProperty};
    ComPtr<IPropertyStore> store;
    CheckCom(link.QueryInterface(IID_IPropertyStore, store.PutVoid()));
    std::wstring text = id;
    PROPVARIANT value{};
    value.vt = VT_LPWSTR;
    value.pwszVal = text.data();  // copied by the store; not freed here
    CheckCom(store->SetValue(kAppUserModelIdKey, value));
    CheckCom(store->Commit());
}

std::wstring AppUserModelIdIn(const Bytes& link) {
    const auto extra = ExtraDataOf(link);
    if (!extra) return {};
    for (const Block& block : extra->blocks) {
        if (block.signature != kPropertyStoreSignature) continue;
        if (auto id = IdInBlock(link, block)) return *id;
    }
    return {};
}

Bytes WithAppUserModelId(Bytes link, const std::wstring& id) {
    const auto extra = ExtraDataOf(link);
    if (!extra || AppUserModelIdIn(link) == id) return link;
    // Everything before the extra data, then its blocks but the property stores.
    const std::size_t start = extra->blocks.empty() ? extra->end : extra->blocks.front().offset;
    Bytes written(link.begin(), link.begin() + static_cast<std::ptrdiff_t>(start));
    for (const Block& block : extra->blocks) {
        if (block.signature == kPropertyStoreSignature) continue;
        const auto from = link.begin() + static_cast<std::ptrdiff_t>(block.offset);
        written.insert(written.end(), from, from + block.size);
    }
    if (!id.empty()) {
        const Bytes block = PropertyStoreBlock(id);
        written.insert(written.end(), block.begin(), block.end());
    }
    Append(written, 0, 4);  // the terminal block
    return written;
}

}  // namespace zoriza
