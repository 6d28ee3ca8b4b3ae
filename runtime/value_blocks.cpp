// Constructors and layouts of texts, byte sets and arrays.
#include "runtime/value_blocks.h"

#include <cstring>

#include "runtime/memory.h"
#include "runtime/runtime_error.h"

namespace velmora::runtime {
namespace {

constexpr int32_t kDataMismatch = 5;

int32_t header(const void* block, int index) {
  int32_t value;
  std::memcpy(&value, static_cast<const uint8_t*>(block) + 4 * index, sizeof value);
  return value;
}

void setHeader(void* block, int index, int32_t value) {
  std::memcpy(static_cast<uint8_t*>(block) + 4 * index, &value, sizeof value);
}

bool ownsElements(TypeCode elementType) {
  return elementType == types::kText || elementType == types::kByteSet;
}

}  // namespace

char* textFromString(const char* text) {
  if (text == nullptr) return nullptr;
  return textFromBytes(text, static_cast<int32_t>(std::strlen(text)));
}

char* textFromBytes(const void* bytes, int32_t count) {
  if (count <= 0) return nullptr;
  auto* text = static_cast<char*>(allocate(count + 1));
  std::memcpy(text, bytes, static_cast<size_t>(count));
  text[count] = '\0';
  return text;
}

void* byteSetFromBytes(const void* bytes, int32_t count) {
  if (count <= 0) return nullptr;
  void* block = allocate(8 + count);
  setHeader(block, 0, 1);
  setHeader(block, 1, count);
  std::memcpy(static_cast<uint8_t*>(block) + 8, bytes, static_cast<size_t>(count));
  return block;
}

int32_t byteSetLength(const void* byteSet) {
  return byteSet ? header(byteSet, 1) : 0;
}

const uint8_t* byteSetData(const void* byteSet) {
  return byteSet ? static_cast<const uint8_t*>(byteSet) + 8 : nullptr;
}

uint32_t arrayElementSize(TypeCode elementType) {
  switch (elementType) {
    case types::kText:
    case types::kByteSet:
      return sizeof(void*);
    case types::kLogical:
      return 4;
    case types::kDateTime:
      return 8;
    default:
      return typeSize(elementType);
  }
}

void* newArray(TypeCode elementType, int32_t count) {
  const uint32_t elementSize = arrayElementSize(elementType);
  if (elementSize == 0 || count < 0)
    raiseRuntimeError(codedErrorMessage(kDataMismatch), kDataMismatch, 0, 0);
  const int64_t bytes = 8 + int64_t{count} * elementSize;
  if (bytes > INT32_MAX) raiseRuntimeError(codedErrorMessage(kDataMismatch), kDataMismatch, 0, 0);
  void* array = allocate(static_cast<int32_t>(bytes));
  setHeader(array, 0, 1);
  setHeader(array, 1, count);
  std::memset(static_cast<uint8_t*>(array) + 8, 0, static_cast<size_t>(bytes - 8));
  return array;
}

int32_t arrayDimensionCount(const void* array) {
  return array ? header(array, 0) : 0;
}

int32_t arrayElementCount(const void* array) {
  if (array == nullptr) return 0;
  int32_t count = 1;
  for (int d = 0; d < header(array, 0); ++d) count *= header(array, 1 + d);
  return count;
}

void* arrayElements(void* array) {
  return static_cast<uint8_t*>(array) + 4 + 4 * header(array, 0);
}

const void* arrayElements(const void* array) {
  return static_cast<const uint8_t*>(array) + 4 + 4 * header(array, 0);
}

void freeArray(void* array, TypeCode elementType) {
  if (array == nullptr) return;
  if (ownsElements(elementType)) {
    auto* elements = static_cast<void**>(arrayElements(array));
    for (int32_t i = 0; i < arrayElementCount(array); ++i) freeBlock(elements[i]);
  }
  freeBlock(array);
}

}  // namespace velmora::runtime
