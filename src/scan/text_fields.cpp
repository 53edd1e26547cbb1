#include "scan/text_fields.h"

#include <cstring>


namespace morvanta::scan {
namespace {

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool IsDelimiter(char c, char delimiter) { return LowerAscii(c) == LowerAscii(delimiter); }

}  // namespace

int FieldCount(const std::string& text, char delimiter) {
  int count = 0;
  for (char c : text)
    if (IsDelimiter(c, delimiter)) ++count;
  return count;
}

std::string Field(const std::string& text, int index, char delimiter) {
  std::string current;
  int number = 0;
  for (char c : text) {
    if (!IsDelimiter(c, delimiter)) {
      current += c;
      continue;
    }
    if (number == index) return current;
    current.clear();
    ++number;
  }
  return "";
}

int LetterIndex(char ch) {
  if (ch == '\0') return 0;
  const char* at = std::strchr(kProgramAlphabet, ch);
  return at ? static_cast<int>(at - kProgramAlphabet) + 1 : 0;
}

std::string LetterAt(int n) {
  if (n < 1 || n > 25) return "";
  return std::string(1, kProgramAlphabet[n - 1]);
}

std::string LettersOf(const std::string& text) {
  std::string letters;
  for (char c : text)
    if (LetterIndex(c) != 0) letters += c;
  return letters;
}

std::string DigitsOf(const std::string& text) {
  std::string digits;
  for (char c : text)
    if (c >= '0' && c <= '9') digits += c;
  return digits;
}

std::string ReplaceAll(const std::string& text, const std::string& from, const std::string& to) {
  if (from.empty()) return text;
  std::string result;
  size_t start = 0;
  for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, start)) {
    result.append(text, start, at - start);
    result += to;
    start = at + from.size();
  }
  result.append(text, start, std::string::npos);
  return result;
}

std::string TrimRightSpaces(std::string text) {
  while (!text.empty() && text.back() == ' ') text.pop_back();
  return text;
}

}  // namespace morvanta::scan
