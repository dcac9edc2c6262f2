// The search-code check a careful catalogue application applies before it
// hands a scanned or typed line to the plug-in (ISBNChkFunc).
#pragma once

#include <string>

// The search code for one line of the code list, or empty text when the
// line holds none. Spaces and hyphens are dropped first; then:
//  - 26 digits (two bar codes read as one): the ISBN-10 in bytes 4-13 when
//    byte 14 is "2", else the ISBN-13 in bytes 1-13; empty when that part's
//    check digit is wrong;
//  - 18 bytes, a valid ISBN-10 followed by 8 digits (class code and price):
//    all 18 bytes;
//  - a valid ISBN-10 (x as X) or a valid ISBN-13 starting 978 or 979;
//  - an ASIN: 10 upper-case letters and digits starting "B0";
//  - anything else: empty.
std::string CheckSearchCode(const std::string& line);
