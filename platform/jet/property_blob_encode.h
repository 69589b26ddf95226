#pragma once

// Encoder for the property blob ("MR2") that MSysObjects.LvProp holds for an object: a chunk
// naming every property once, then one chunk per column with that column's properties.
//
//   "MR2\0"
//   chunk: u32 length (header included) · u16 type · data
//     type 0x0080, names:   { u16 byte length · UCS-2 name } ...
//     type 0x0001, column:  u32 6 + name bytes · u16 name bytes · UCS-2 column name ·
//                           { u16 8 + value length · u8 DDL flag · u8 data type ·
//                             u16 name index · u16 value length · value } ...

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace norvessa::jet {

// A yes/no property such as Required, AllowZeroLength or UnicodeCompression, stored as Access
// stores those three: data type boolean, DDL flag set, one byte 0 or 1.
struct BooleanProperty {
    std::u16string name;
    bool value = false;
};

struct ColumnProperties {
    std::u16string column;
    std::vector<BooleanProperty> properties;
};

std::vector<std::uint8_t> encodePropertyBlob(std::span<const ColumnProperties> columns);

}  // namespace norvessa::jet
