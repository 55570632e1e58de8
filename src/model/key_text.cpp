#include "model/key_text.h"

#include <cstdio>

namespace {

constexpr int kKeyNumberCount = 256;
constexpr KeyCode kHighBitsMask = 0xF800;
constexpr KeyCode kCodeMask = 0xFFFF;

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (Lower(a[i]) != Lower(b[i])) return false;
  }
  return true;
}

std::string_view Trim(std::string_view text) {
  const std::string_view blanks = " \t\r\n";
  const std::size_t first = text.find_first_not_of(blanks);
  if (first == std::string_view::npos) return {};
  const std::size_t last = text.find_last_not_of(blanks);
  return text.substr(first, last - first + 1);
}

// Decimal 0..limit made of digits only; false otherwise.
bool ParseNumber(std::string_view digits, int base, int limit, int& value) {
  if (digits.empty() || digits.size() > 5) return false;
  int result = 0;
  for (char c : digits) {
    int digit;
    if (c >= '0' && c <= '9') {
      digit = c - '0';
    } else if (base == 16 && Lower(c) >= 'a' && Lower(c) <= 'f') {
      digit = Lower(c) - 'a' + 10;
    } else {
      return false;
    }
    result = result * base + digit;
  }
  if (result > limit) return false;
  value = result;
  return true;
}

// Key number of the part after the modifiers, or -1.
int ParseKeyPart(std::string_view text) {
  if (text == kEmptyKeyText || SameIgnoringCase(text, kNotUsedKeyText)) return 0;
  if (text.size() > 1 && text[0] == '#') {
    int number = -1;
    return ParseNumber(text.substr(1), 10, kKeyNumberCount - 1, number) ? number : -1;
  }
  for (int number = 1; number < kKeyNumberCount; ++number) {
    const char* raw = KeyName(number);
    if (raw == nullptr) continue;
    if (SameIgnoringCase(text, raw) || SameIgnoringCase(text, KeyTextName(number))) return number;
  }
  return -1;
}

}  // namespace

std::string KeyTextName(int keyNumber) {
  const char* raw = KeyName(keyNumber);
  std::string name;
  if (raw == nullptr) return name;
  for (const char* c = raw; *c != '\0'; ++c) {
    name += *c;
    if (c[0] == '&' && c[1] == '&') ++c;  // the button's escape for one '&'
  }
  return name;
}

std::string FormatKeyText(KeyCode code, std::string_view emptyText) {
  std::string text;
  for (const KeyModifier& m : kKeyModifiers) {
    if ((code & m.bit) != 0) {
      text += m.word;
      text += '+';
    }
  }
  const int number = code & kKeyNumberMask;
  const std::string name = KeyTextName(number);
  if (number == 0) {
    text += emptyText;
  } else if (name.empty()) {
    text += '#' + std::to_string(number);
  } else {
    text += name;
  }
  if ((code & kHighBitsMask) != 0) {
    char whole[16];
    std::snprintf(whole, sizeof whole, "%s%04X]", kWholeCodeOpen.data(), static_cast<unsigned>(code & kCodeMask));
    text += whole;
  }
  return text;
}

bool ParseKeyText(std::string_view text, KeyCode& code) {
  text = Trim(text);

  // The whole code in brackets at the end; no key name ends in ']'.
  int whole = -1;
  if (!text.empty() && text.back() == ']') {
    const std::size_t open = text.rfind(kWholeCodeOpen);
    if (open == std::string_view::npos) return false;
    const std::size_t digits = open + kWholeCodeOpen.size();
    if (!ParseNumber(text.substr(digits, text.size() - 1 - digits), 16, kCodeMask, whole)) return false;
    text = Trim(text.substr(0, open));
  }

  // Modifier words with their '+'; no key name begins with one of them.
  KeyCode modifiers = 0;
  for (bool found = true; found;) {
    found = false;
    for (const KeyModifier& m : kKeyModifiers) {
      const std::size_t length = m.word.size();
      if (text.size() > length && text[length] == '+' && SameIgnoringCase(text.substr(0, length), m.word)) {
        if ((modifiers & m.bit) != 0) return false;  // named twice
        modifiers |= m.bit;
        text.remove_prefix(length + 1);
        found = true;
      }
    }
  }

  const int number = ParseKeyPart(text);
  if (number < 0) return false;
  const KeyCode parsed = modifiers | number;
  if (whole >= 0 && (whole & ~kHighBitsMask) != parsed) return false;  // brackets disagree
  code = whole >= 0 ? whole : parsed;
  return true;
}
