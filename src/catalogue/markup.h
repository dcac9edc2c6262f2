// Markup and text helpers shared by the page readers and the normalisers.
#pragma once

#include <string>
#include <string_view>

// The text after the first start marker, up to the next end marker (the
// whole rest when end is empty or not found); empty when start is empty or
// not found.
std::string TextBetween(std::string_view text, std::string_view start,
                        std::string_view end);
// The ASCII digits of the text in order, or the text itself when it has
// none.
std::string KeepDigits(const std::string& text);
