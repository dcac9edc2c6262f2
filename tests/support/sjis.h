// Test fixtures in code page 932, written as readable UTF-8 in the tests.
//
// The conversion uses glibc's iconv, not the plug-in's own table, so that a
// fault in that table cannot hide itself in the expected values.
#pragma once

#include <string>

// UTF-8 -> code page 932; a character iconv cannot convert fails the test.
std::string Sjis(const std::string& utf8);
// Code page 932 -> UTF-8, for readable failure messages.
std::string SjisToUtf8(const std::string& sjis);
// The bytes as hexadecimal pairs, for failure messages.
std::string Hex(const std::string& bytes);
