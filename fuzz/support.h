// What the fuzz targets share: cutting one input into the parts a target
// feeds to the code, a scratch directory for the files the code reads,
// and the checks that say whether a text is well-formed code page 932.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The line that separates the parts of an input: a page, a dictionary, a
// code list. Chosen so that a saved input stays readable and no page or
// dictionary of the catalogue holds it.
inline constexpr const char* kPartMark = "\n--8<--\n";

// The input cut at every kPartMark; an input without one is one part.
std::vector<std::string> SplitParts(const std::uint8_t* data, std::size_t size);
// Part n, or nothing when the input has fewer parts.
std::optional<std::string> PartAt(const std::vector<std::string>& parts,
                                  std::size_t n);

// A directory of this process for the files the code is given, removed
// when the process ends; with a trailing "/".
const std::string& ScratchDirectory();
// Writes the file when bytes hold a value, and removes it otherwise, so
// that a missing part stands for a missing file.
void PlaceFile(const std::string& path,
               const std::optional<std::string>& bytes);

// Whether every byte and every lead byte with its trail byte is a character
// of code page 932 (a cut or undefined pair is not).
bool IsCp932(const std::string& text);

// The bytes with every one outside printable ASCII written as \xNN.
std::string Printable(const std::string& bytes);

// Ends the process with a message on standard error: the fuzzer keeps the
// input that got here.
[[noreturn]] void Fail(const char* what, const std::string& detail = "");

// The items of one comma-text line as a reader takes them apart: an item
// that begins with a double quote runs to the next double quote that is
// not doubled, every other item to the next comma. By bytes, as the
// stand-in host reads a result; or by characters, as a code page 932
// reader does, stepping over a lead byte and the byte after it.
enum class ReadBy { Bytes, Characters };
std::vector<std::string> ReadCommaText(const std::string& line, ReadBy by);
// Fails unless the line reads as the 68 items of an output line, the same
// by bytes and by characters; returns the items.
std::vector<std::string> CheckOutputLine(const std::string& line);
