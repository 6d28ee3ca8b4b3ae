#include "runtime/commands/character_search.h"

#include <cstring>

namespace velmora::runtime {
namespace {

bool isLeadByte(unsigned char c) {
  return c >= 0x80;
}

bool isLetter(unsigned char c) {
  const unsigned char lower = c | 0x20;
  return lower >= 'a' && lower <= 'z';
}

unsigned char foldedLetter(unsigned char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<unsigned char>(c + ('a' - 'A')) : c;
}

// ASCII letters compare without regard to case; both bytes of a double-byte character of the
// candidate must match exactly, so a trail byte that looks like a letter is never folded.
bool equalFoldingLetters(const unsigned char* candidate, const unsigned char* sought,
                         size_t length) {
  for (size_t i = 0; i < length; ++i) {
    if (isLeadByte(candidate[i])) {
      if (candidate[i] != sought[i]) return false;
      if (++i < length && candidate[i] != sought[i]) return false;
    } else if (foldedLetter(candidate[i]) != foldedLetter(sought[i])) {
      return false;
    }
  }
  return true;
}

// A byte of the sought text that every match holds exactly at the same offset, so that the
// search can skip to it with memchr: the first byte, or when folding the first that is no
// letter. A folded sought text of letters only has none, and its first letter is looked for in
// either case.
struct Anchor {
  size_t offset = 0;
  bool eitherCase = false;
};

Anchor anchorOf(std::string_view sought, bool foldCase) {
  if (!foldCase) return {};
  for (size_t i = 0; i < sought.size(); ++i) {
    if (!isLetter(static_cast<unsigned char>(sought[i]))) return {i, false};
  }
  return {0, true};
}

const unsigned char* nextAnchor(const unsigned char* from, const unsigned char* end,
                                unsigned char anchor, bool eitherCase) {
  if (!eitherCase) return static_cast<const unsigned char*>(std::memchr(from, anchor, end - from));
  const unsigned char lower = anchor | 0x20;
  for (; from < end; ++from) {
    if ((*from | 0x20) == lower) return from;
  }
  return nullptr;
}

// Whether a character starts at position, knowing that one starts at boundary (not after it).
// A byte below 0x80 ends a character, alone or as a trail byte, so the run of bytes from 0x80 on
// right before position pairs up as lead and trail bytes: an even run leaves position a start.
bool startsCharacter(const unsigned char* text, size_t boundary, size_t position) {
  size_t run = 0;
  while (position - run > boundary && isLeadByte(text[position - run - 1])) ++run;
  return run % 2 == 0;
}

}  // namespace

size_t findAtCharacterStart(std::string_view text, size_t from, std::string_view sought,
                            bool foldCase) {
  const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
  const auto* target = reinterpret_cast<const unsigned char*>(sought.data());
  const Anchor anchor = anchorOf(sought, foldCase);
  // Matches are rare, so a candidate's bytes are compared before its place is checked; a
  // character starts at boundary, and the check walks back no further.
  size_t boundary = from;
  size_t next = from;
  while (text.size() - next >= sought.size()) {
    const unsigned char* lastAnchor = bytes + text.size() - sought.size() + anchor.offset;
    const unsigned char* found = nextAnchor(bytes + next + anchor.offset, lastAnchor + 1,
                                            target[anchor.offset], anchor.eitherCase);
    if (found == nullptr) return kNotFound;
    const size_t candidate = static_cast<size_t>(found - bytes) - anchor.offset;
    next = candidate + 1;
    const bool match = foldCase ? equalFoldingLetters(bytes + candidate, target, sought.size())
                                : std::memcmp(bytes + candidate, target, sought.size()) == 0;
    if (!match) continue;
    if (startsCharacter(bytes, boundary, candidate)) return candidate;
    boundary = next;  // the candidate is a trail byte, so a character starts after it
  }
  return kNotFound;
}

}  // namespace velmora::runtime
