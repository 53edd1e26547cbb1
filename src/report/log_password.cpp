#include "report/log_password.h"

namespace morvanta::report {

std::string BuildLogPassword() {
  // Volatile, so that the compiler cannot fold the pieces into one literal of the whole.
  static volatile const char kFirst = 'q', kSecond = 'v', kLetter = 'm';
  static volatile const int kNumbers[] = {73, 2906};
  static volatile const int kReplaced = 29, kReplacement = 41;
  std::string password;
  password += kFirst;
  password += kSecond;
  password += std::to_string(kNumbers[0]);
  password += std::to_string(kNumbers[1]);
  // One number in what the pieces make gives way to a letter and another number.
  const std::string replaced = std::to_string(kReplaced);
  const size_t at = password.find(replaced, 2);
  if (at != std::string::npos)
    password.replace(at, replaced.size(), kLetter + std::to_string(kReplacement));
  return password;
}

}  // namespace morvanta::report
