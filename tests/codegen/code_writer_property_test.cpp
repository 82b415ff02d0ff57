// CodeWriter against a plain model of its placeholders: random fragments and values, long enough
// that blocks go to the stream many times and single values outgrow a block, written to a file
// and collected in memory; the text and the count of line ends must match the model's.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "codegen/shared/code_writer.h"
#include "codegen_fixture.h"

namespace parvolen {
namespace {

// One Put: a fragment and its values (raw: written by the form without values).
struct PutCall {
  std::string fragment;
  std::vector<std::string> values;
  bool raw = false;
};

// Left to right: "%s", "%d" or "%c" takes the next value while there is one; every other
// character stands as it is. Gives the number of placeholders that values would fill.
std::size_t Fill(const std::string& fragment, const std::vector<std::string>* values, std::string* text) {
  std::size_t used = 0;
  for (std::size_t i = 0; i < fragment.size(); ++i) {
    const bool hole = fragment[i] == '%' && i + 1 < fragment.size() &&
                      std::string_view("sdc").find(fragment[i + 1]) != std::string_view::npos;
    if (hole && (values == nullptr || used < values->size())) {
      if (text != nullptr) *text += (*values)[used];
      ++used;
      ++i;
    } else if (text != nullptr) {
      *text += fragment[i];
    }
  }
  return used;
}

std::vector<PutCall> RandomCalls(std::mt19937& rng, std::size_t count) {
  const std::vector<std::string> pieces = {"%s", "%d", "%c", "%%", "%", "\n", "\t", "if  ( e )", "x", "100%% ", "%%s"};
  const auto below = [&rng](std::size_t n) { return std::uniform_int_distribution<std::size_t>(0, n - 1)(rng); };
  std::vector<PutCall> calls;
  for (std::size_t c = 0; c < count; ++c) {
    PutCall call;
    for (std::size_t n = below(8); n > 0; --n) call.fragment += pieces[below(pieces.size())];
    // Put takes its values as a list written at the call: up to three here.
    call.raw = below(4) == 0 || Fill(call.fragment, nullptr, nullptr) > 3;
    if (!call.raw) {
      for (std::size_t n = Fill(call.fragment, nullptr, nullptr); n > 0; --n) {
        // Mostly short values, now and then one longer than a whole block.
        const std::size_t length = below(50) == 0 ? 70000 + below(1000) : below(20);
        std::string value;
        for (std::size_t i = 0; i < length; ++i) value += "ab\n\t%"[below(5)];
        call.values.push_back(std::move(value));
      }
    }
    calls.push_back(std::move(call));
  }
  return calls;
}

void PutAll(CodeWriter& out, const std::vector<PutCall>& calls) {
  for (const PutCall& call : calls) {
    if (call.raw) {
      out.Put(call.fragment);
    } else if (call.values.size() == 1) {
      out.Put(call.fragment, call.values.front());
    } else {
      const std::vector<std::string_view> v(call.values.begin(), call.values.end());
      if (v.empty()) out.Put(call.fragment, {});
      if (v.size() == 2) out.Put(call.fragment, {v[0], v[1]});
      if (v.size() == 3) out.Put(call.fragment, {v[0], v[1], v[2]});
    }
  }
}

TEST(CodeWriterProperty, FileAndMemoryMatchThePlaceholderModel) {
  std::mt19937 rng(20261208);
  for (int round = 0; round < 6; ++round) {
    const std::vector<PutCall> calls = RandomCalls(rng, round == 0 ? 20 : 4000);
    std::string expected;
    for (const PutCall& call : calls) {
      if (call.raw) {
        expected += call.fragment;
      } else {
        Fill(call.fragment, &call.values, &expected);
      }
    }
    const long lines = static_cast<long>(std::count(expected.begin(), expected.end(), '\n'));

    const auto path = testing_codegen::ScratchDir() / "writer_property.txt";
    CodeWriter file;
    ASSERT_EQ(file.Open(path.string()), stOk);
    PutAll(file, calls);
    EXPECT_EQ(file.Lines(), lines) << "round " << round;
    ASSERT_EQ(file.Close(), stOk);
    EXPECT_TRUE(testing_codegen::ReadFile(path) == expected) << "round " << round;

    CodeWriter memory;
    memory.OpenMemory();
    PutAll(memory, calls);
    EXPECT_EQ(memory.Lines(), lines) << "round " << round;
    EXPECT_TRUE(memory.TakeText() == expected) << "round " << round;
  }
}

TEST(CodeWriterProperty, EmptyValuesBeforeAnyBlock) {
  CodeWriter memory;
  memory.OpenMemory();
  EXPECT_EQ(memory.Lines(), 0);
  memory.Put("%s", std::string_view());
  EXPECT_EQ(memory.TakeText(), "");
  memory.OpenMemory();
  memory.Put("%s<%s>\n", {std::string_view(), "x"});
  EXPECT_EQ(memory.Lines(), 1);
  EXPECT_EQ(memory.TakeText(), "<x>\n");
}

TEST(CodeWriterProperty, DecimalTextOfExtremes) {
  const long long cases[] = {0, -1, 7, 42, -2147483648LL, 9223372036854775807LL, (-9223372036854775807LL - 1)};
  for (long long n : cases) EXPECT_EQ(std::string_view(Decimal(n)), std::to_string(n));
}

}  // namespace
}  // namespace parvolen
