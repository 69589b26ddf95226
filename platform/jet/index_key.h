#pragma once

// Index keys: the bytes an index entry sorts by. Each indexed column adds one segment: a flag
// byte (0x7F value present, 0x00 Null) and, for a value, its sortable encoding. Entries are then
// ordered by plain unsigned byte comparison of the keys. All segments here are ascending.
//
// Text keys follow Jet's "General legacy" codes. Under the Chinese PRC order (2052) Jet produces
// the same codes for the simple printable ASCII characters; for every other character its codes
// come from Windows sort tables nobody has published, so such text is refused rather than
// written with a key Jet would disagree with.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/jet/schema.h"

namespace norvessa::jet {

using KeyBytes = std::vector<std::uint8_t>;

// Whether text keys can be produced for columns with this collating sort order.
bool textKeysSupported(std::uint16_t sortOrder);

// Whether keys can be produced for columns of this type: Byte, Integer, Long and Text.
bool keysSupported(ColumnType type);

// Position (in UTF-16 units) of the first character that has no key code we can produce,
// if any. Trailing blanks do not count: they are not part of the key.
std::optional<std::size_t> findUnencodableCharacter(std::u16string_view text);

// The character at `position` for messages: "'é' (U+00E9)", a surrogate pair taken whole,
// control characters by their code alone.
std::string describeCharacter(std::u16string_view text, std::size_t position);

void appendNullKeySegment(KeyBytes& key);

// Byte, Integer or Long; `value` must lie in the type's range. Throws JetError(InvalidArgument)
// otherwise, JetError(Unsupported) for another type.
void appendIntegerKeySegment(KeyBytes& key, ColumnType type, std::int32_t value);

// Throws JetError(Unsupported) when findUnencodableCharacter() reports a character.
void appendTextKeySegment(KeyBytes& key, std::u16string_view text);

// The part of a text value its key holds: at most 255 characters, trailing blanks dropped.
std::u16string_view keyedText(std::u16string_view text);

// The start of the key of every text value that begins with `text` (taken as it is, blanks at
// its end included): the present flag and one code per character. None when a character has
// no code.
std::optional<KeyBytes> textKeyPrefix(std::u16string_view text);

// The text a key's first segment holds, letters in upper case, when every character of it has
// an inline code; none for a Null, another type or a key with extra sections (characters
// such as the hyphen that have none).
std::optional<std::string> readTextKey(std::span<const std::uint8_t> key);

}  // namespace norvessa::jet
