// Texts, byte sets and arrays: their block layouts and the constructors that every command uses.
//
//   text      "abc\0"                         exactly length + 1 bytes; the empty text is null
//   byte set  | 1 | length | bytes ...        the empty byte set is null, never a 0-length block
//   array     | d | size 1 .. size d | elements ...
//
// Text and byte-set elements of an array are pointers owned by the array; null is empty.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <span>

#include "runtime/tagged_value.h"

namespace velmora {

// The runtime's constructors: each returns a new block owned by the caller, or null for the
// empty value.
char* textFromString(const char* text);
char* textFromBytes(const void* bytes, int32_t count);
void* byteSetFromBytes(const void* bytes, int32_t count);
// One new text holding the given texts one after another (null ones add nothing).
char* concatTexts(std::initializer_list<const char*> texts);

int32_t byteSetLength(const void* byteSet);
const uint8_t* byteSetData(const void* byteSet);

// Bytes one element of the given type takes in an array; 0 for a type arrays do not hold.
uint32_t arrayElementSize(TypeCode elementType);
// A new one-dimensional array of count zeroed elements (empty texts and byte sets).
void* newArray(TypeCode elementType, int32_t count);
int32_t arrayDimensionCount(const void* array);
// The product of the dimension sizes; 0 for a null array.
int32_t arrayElementCount(const void* array);
void* arrayElements(void* array);
const void* arrayElements(const void* array);
// Frees each owned text or byte-set element, then the block.
void freeArray(void* array, TypeCode elementType);

// Finds the member that 1-based indexes address: one index counts through all elements, or one
// index per dimension. error is 0 when found, otherwise the runtime error code: 4 for an index
// below 1, 1 for one beyond the size, 3 for a count of indexes that is neither 1 nor the array's
// dimension count.
struct ArrayMember {
  int32_t error = 0;
  int32_t elementIndex = 0;  // 0-based, valid when error is 0
};
ArrayMember findArrayMember(const void* array, std::span<const int32_t> indexes);

}  // namespace velmora
