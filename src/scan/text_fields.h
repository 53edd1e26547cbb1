// Small text helpers of the scan engine: delimiter-terminated field lists, the program
// alphabet of the name ranges, and replacing text.
#pragma once

#include <string>

namespace morvanta::scan {

// The program alphabet: "r", "s", "q" stand in that order.
inline constexpr char kProgramAlphabet[] = "abcdefghijklmnoprsqtuvwxyz";

// Fields of a list in which every field ends with the delimiter ("a;b;c;"); text after the
// last delimiter is not a field. The delimiter is compared without regard to letter case.
int FieldCount(const std::string& text, char delimiter);
// Field `index` (from 0); empty for an index beyond the last field.
std::string Field(const std::string& text, int index, char delimiter);

// 1-based position of `ch` in the program alphabet; 0 when absent.
int LetterIndex(char ch);
// The n-th letter of the program alphabet for n from 1 to 25; empty otherwise.
std::string LetterAt(int n);
// The characters of `text` that belong to the program alphabet, in order.
std::string LettersOf(const std::string& text);
// The decimal digits of `text`, in order.
std::string DigitsOf(const std::string& text);

// Every occurrence of `from` replaced, left to right, without rescanning inserted text.
// An empty `from` changes nothing.
std::string ReplaceAll(const std::string& text, const std::string& from, const std::string& to);
// Trailing spaces removed.
std::string TrimRightSpaces(std::string text);

}  // namespace morvanta::scan
