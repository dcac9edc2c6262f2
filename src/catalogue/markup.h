// Markup and text helpers shared by the page readers and the normalisers.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// The text after the first start marker, up to the next end marker (the
// whole rest when end is empty or not found); empty when start is empty or
// not found.
std::string TextBetween(std::string_view text, std::string_view start,
                        std::string_view end);
// One line of a page without its markup: anything from a "<" to the next
// ">" goes, also a tag begun on an earlier line or going on to a later one;
// comments stay with their markers; &lt; &gt; &nbsp; are replaced. Not
// trimmed.
std::string StripMarkup(const std::string& text);
// The ASCII digits of the text in order, or the text itself when it has
// none.
std::string KeepDigits(const std::string& text);

// The locale's string mapping of a wide text under the given flags (the
// width flags of platform.h); empty for an empty text or a failed mapping.
std::u16string MapStringWide(const std::u16string& text, std::uint32_t flags);
std::u16string ToHalfWidth(const std::u16string& text);
std::u16string ToFullWidth(const std::u16string& text);
