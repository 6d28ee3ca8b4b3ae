// The text commands against plain C++ doing the same work: split text, find text with and without
// case folding, to number over typical service replies.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "benchmarks/ratio_report.h"
#include "runtime/commands/commands.h"
#include "runtime/value_blocks.h"

namespace velmora {
namespace {

// 5,000 items of 19 bytes (a two-character GBK word, a number, ASCII letters) and their commas:
// 100,000 bytes.
std::string gbkItemList() {
  std::string list;
  char item[32];
  for (int i = 0; i < 5000; ++i) {
    std::snprintf(item, sizeof item, "\xcf\xee\xc4\xbf%05d-abcdefghi", i);  // 项目
    if (i > 0) list += ',';
    list += item;
  }
  return list;
}

const std::string& itemList() {
  static const std::string list = gbkItemList();
  return list;
}

void splitTextCommand(benchmark::State& state) {
  const runtime::ArgRecord args[] = {runtime::textArgument(itemList().c_str()),
                                     runtime::textArgument(",")};
  for (auto _ : state) {
    runtime::ResultRecord result;
    runtime::splitText(&result, 2, args);
    benchmark::DoNotOptimize(result.value.asPointer());
    runtime::freeArray(result.value.asPointer(), runtime::types::kText);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * itemList().size()));
}
BENCHMARK(splitTextCommand);

void splitStringViewBaseline(benchmark::State& state) {
  const std::string_view text = itemList();
  for (auto _ : state) {
    std::vector<std::string> pieces;
    for (size_t start = 0;;) {
      const size_t comma = text.find(',', start);
      pieces.emplace_back(text.substr(start, comma - start));
      if (comma == std::string_view::npos) break;
      start = comma + 1;
    }
    benchmark::DoNotOptimize(pieces.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * itemList().size()));
}
BENCHMARK(splitStringViewBaseline);

// The sought text is the last item, so the whole list is searched.
constexpr const char* kLastItem =
    "\xcf\xee\xc4\xbf"
    "04999-abcdefghi";
constexpr const char* kLastItemUpper =
    "\xcf\xee\xc4\xbf"
    "04999-ABCDEFGHI";

void findTextCommand(benchmark::State& state) {
  const bool foldCase = state.range(0) != 0;
  const runtime::ArgRecord args[] = {runtime::textArgument(itemList().c_str()),
                                     runtime::textArgument(foldCase ? kLastItemUpper : kLastItem),
                                     runtime::ArgRecord{}, runtime::logicalArgument(foldCase)};
  for (auto _ : state) {
    runtime::ResultRecord result;
    runtime::findText(&result, 4, args);
    benchmark::DoNotOptimize(result.value.low);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * itemList().size()));
}
BENCHMARK(findTextCommand)->Arg(0)->Arg(1)->ArgName("foldCase");

void findStringViewBaseline(benchmark::State& state) {
  const std::string_view text = itemList();
  for (auto _ : state) benchmark::DoNotOptimize(text.find(kLastItem));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * itemList().size()));
}
BENCHMARK(findStringViewBaseline);

// std::search with an ASCII case-folding comparison (it does not know double-byte characters).
void findFoldedSearchBaseline(benchmark::State& state) {
  const std::string_view text = itemList();
  const std::string_view sought = kLastItemUpper;
  const auto folded = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
  for (auto _ : state) {
    const auto found = std::search(text.begin(), text.end(), sought.begin(), sought.end(),
                                   [&](char a, char b) { return folded(a) == folded(b); });
    benchmark::DoNotOptimize(found);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * itemList().size()));
}
BENCHMARK(findFoldedSearchBaseline);

// Replies the client reads as numbers: status digits, balances, prices.
constexpr const char* kReplies[] = {"1", "25", "0", "12.5", "1066.325000", "-3", " 7\r\n", "0.08"};

void toNumberCommand(benchmark::State& state) {
  for (auto _ : state) {
    for (const char* reply : kReplies) {
      const runtime::ArgRecord argument = runtime::textArgument(reply);
      runtime::ResultRecord result;
      runtime::toNumber(&result, 1, &argument);
      benchmark::DoNotOptimize(result.value.low);
    }
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * std::size(kReplies)));
}
BENCHMARK(toNumberCommand);

void strtodBaseline(benchmark::State& state) {
  for (auto _ : state) {
    for (const char* reply : kReplies) benchmark::DoNotOptimize(std::strtod(reply, nullptr));
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * std::size(kReplies)));
}
BENCHMARK(strtodBaseline);

constexpr RatioPair kPairs[] = {
    {"splitTextCommand", "splitStringViewBaseline"},
    {"findTextCommand/foldCase:0", "findStringViewBaseline"},
    {"findTextCommand/foldCase:1", "findFoldedSearchBaseline"},
    {"toNumberCommand", "strtodBaseline"},
};

}  // namespace
}  // namespace velmora

int main(int argc, char** argv) {
  return velmora::runWithRatios(argc, argv, velmora::kPairs);
}
