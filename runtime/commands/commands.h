// The value commands of the core library: text and number conversion, searching and splitting
// texts, blank values, dates, random numbers and pausing. Each has the one command signature;
// none reports a failure, bad input gives a neutral result.
#pragma once

#include <cstdint>
#include <string_view>

#include "runtime/tagged_value.h"

namespace velmora::runtime {

void toText(ResultRecord* result, int32_t argCount, const ArgRecord* args);
void toNumber(ResultRecord* result, int32_t argCount, const ArgRecord* args);
void findText(ResultRecord* result, int32_t argCount, const ArgRecord* args);
void splitText(ResultRecord* result, int32_t argCount, const ArgRecord* args);
void blankText(ResultRecord* result, int32_t argCount, const ArgRecord* args);
void blankByteSet(ResultRecord* result, int32_t argCount, const ArgRecord* args);
void byteSetLengthCommand(ResultRecord* result, int32_t argCount, const ArgRecord* args);
void now(ResultRecord* result, int32_t argCount, const ArgRecord* args);
void yearOf(ResultRecord* result, int32_t argCount, const ArgRecord* args);
void monthOf(ResultRecord* result, int32_t argCount, const ArgRecord* args);
void dayOf(ResultRecord* result, int32_t argCount, const ArgRecord* args);
void seedRandomNumbers(ResultRecord* result, int32_t argCount, const ArgRecord* args);
void randomNumber(ResultRecord* result, int32_t argCount, const ArgRecord* args);
void sleep(ResultRecord* result, int32_t argCount, const ArgRecord* args);

// The date-time text of to text: "2025年4月15日13时5分", the time cut after its last non-zero
// field. A new text owned by the caller.
char* dateTimeText(double dateTime);

// The seed of an unseeded seed random numbers at the given tick count: the tick count plus a
// process-wide counter, which then moves on, so calls within one millisecond seed differently.
uint32_t clockSeed(uint32_t tick);

// The 1-based byte position of the first match of sought in searched at a character boundary
// from byte offset start on, or -1. foldCase compares ASCII letters without regard to case.
int32_t findTextPosition(std::string_view searched, std::string_view sought, int32_t start,
                         bool foldCase);

}  // namespace velmora::runtime
