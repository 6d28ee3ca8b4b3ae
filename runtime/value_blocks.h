// Texts, byte sets and arrays: their block layouts and the constructors that every command uses.
//
//   text      "abc\0"                         exactly length + 1 bytes; the empty text is null
//   byte set  | 1 | length | bytes ...        the empty byte set is null, never a 0-length block
//   array     | d | size 1 .. size d | elements ...
//
// Text and byte-set elements of an array are pointers owned by the array; null is empty.
#pragma once

#include <cstdint>

#include "runtime/tagged_value.h"

namespace velmora::runtime {

// The runtime's constructors: each returns a new block owned by the caller, or null for the
// empty value.
char* textFromString(const char* text);
char* textFromBytes(const void* bytes, int32_t count);
void* byteSetFromBytes(const void* bytes, int32_t count);

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

}  // namespace velmora::runtime
