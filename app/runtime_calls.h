// The program's calls into the runtime. Everything goes through the runtime entry table, so the
// client's code runs the same against the real runtime and against a test's table.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string_view>

#include "runtime/entry_table.h"

namespace velmora::app {

// The entry table the program calls the runtime through.
const runtime::EntryTable& entryTable();
// Tests run the program's code against a table of their own; null goes back to the runtime's.
void useEntryTable(const runtime::EntryTable* table);

runtime::ResultRecord callCoreCommand(int command,
                                      std::initializer_list<runtime::ArgRecord> args = {});

// A text the program owns: freed through the free entry. Null is the empty text.
class Text {
 public:
  explicit Text(char* owned = nullptr) : text_(owned) {}
  ~Text();
  Text(Text&& other) noexcept : text_(other.release()) {}
  Text& operator=(Text&& other) noexcept;

  const char* get() const { return text_; }
  std::string_view view() const { return text_ ? text_ : ""; }
  bool empty() const { return text_ == nullptr || *text_ == '\0'; }
  char* release();

 private:
  char* text_;
};

// A new text holding these bytes; the empty text for none.
Text makeText(std::string_view bytes);

// An array of texts the program owns, as split text returns it.
class TextArray {
 public:
  explicit TextArray(void* owned) : array_(owned) {}
  ~TextArray();
  TextArray(const TextArray&) = delete;
  TextArray& operator=(const TextArray&) = delete;

  int32_t size() const;
  // Member i, 0-based; an empty member reads as "".
  std::string_view operator[](int32_t i) const;

 private:
  char* const* elements() const;

  void* array_;
};

double toNumber(const char* text);
// Numbers compare with a tolerance of 1e-7.
bool sameNumber(double a, double b);
bool isLess(double a, double b);
bool isGreater(double a, double b);
// The pieces of text between separators, at most limit of them (a negative limit: no limit).
TextArray splitText(const char* text, const char* separator, int32_t limit = -1);

// The 1-based position of sought in text, or -1; with ignoreCase, ASCII letters match either case.
int32_t findText(const char* text, const char* sought, bool ignoreCase);

// Seeds the random numbers from the clock.
void seedRandomNumbers();
int32_t randomNumber(int32_t low, int32_t high);
double now();
int32_t yearOf(double dateTime);
int32_t monthOf(double dateTime);
int32_t dayOf(double dateTime);

}  // namespace velmora::app
