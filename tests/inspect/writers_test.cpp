#include <gtest/gtest.h>

#include "inspect/json.h"
#include "inspected.h"

namespace parvolen::inspect {
namespace {

TEST(InspectJson, QuotesEveryByteSafely) {
  EXPECT_EQ(JsonWriter::Quote("a\"b\\c\n\t\x01\x7f"), "\"a\\\"b\\\\c\\n\\t\\u0001\\u007f\"");
  EXPECT_EQ(JsonWriter::Quote("λ ok"), "\"λ ok\"");
  // A lone continuation byte, a cut sequence, an overlong form and a surrogate are no UTF-8.
  EXPECT_EQ(JsonWriter::Quote("\x80|\xce|\xc0\xaf|\xed\xa0\x80"),
            "\"\\u0080|\\u00ce|\\u00c0\\u00af|\\u00ed\\u00a0\\u0080\"");
  JsonWriter j;
  j.BeginObject().Key("a").BeginArray().Number(-1).Bool(true).Null().EndArray().Key("b").String("x").EndObject();
  EXPECT_EQ(j.Text(), "{\"a\":[-1,true,null],\"b\":\"x\"}");
}

TEST(InspectJson, SameContentAsTheText) {
  Inspected d(Description("StartingSymbol = E\nEofName = eoi\nLookahead = 2\n", "a\nb\nd\neoi\n", "E\nF\n",
                          "E ::= (a)(b)\nE ::= [F]\nF ::= (a)(d)\n"));
  const std::string json = d.Json();
  for (const char* part :
       {"\"status\":0,", "{\"name\":\"Edges\",\"count\":",
        "\"productions\":[{\"number\":1,\"line\":21,\"text\":\"E ::= (a)(b)\"},{\"number\":2,\"line\":22,",
        "\"First\":[[\"a\",\"b\"],[\"a\",\"d\"]]", "\"Follow\":[[]]", "\"FIRST_2\":[[\"a\",\"b\"],[\"a\",\"d\"]]",
        "\"decisions\":[{\"string\":[\"a\",\"b\"],\"member\":{\"edge\":\"(a)\"",
        "\"kind\":\"below-level-1\"", "\"example\":{\"before\":[],\"after\":[\"a\",\"b\"]}", "\"failure\":null}\n"})
    EXPECT_NE(json.find(part), std::string::npos) << part;
}

TEST(InspectDot, GraphOfTriesAndDecisionLists) {
  Inspected d(Description("StartingSymbol = E\nLookahead = 2\nName = say \"hi\"\n", "a\nb\\\nd\n", "E\nF\n",
                          "E ::= (a)(b\\)\nE ::= [F]\nF ::= (a)(d)\n"));
  ASSERT_EQ(d.It().Code(), stOk);
  const std::string all = d.Dot();
  for (const char* part : {"digraph \"say \\\"hi\\\"\" {\n", "  subgraph \"cluster_1\" {\n    label=\"E\";\n",
                           "[label=\"(b\\\\)\"];", "[label=\"end\\nline 20\", shape=plaintext];",
                           "[label=\"a\", shape=diamond, color=red];", "[style=dashed, color=blue];",
                           "  subgraph \"cluster_2\""})
    EXPECT_NE(all.find(part), std::string::npos) << part;
  const std::string one = d.Dot(2);
  EXPECT_EQ(one.find("cluster_1"), std::string::npos);
  EXPECT_NE(one.find("cluster_2"), std::string::npos);
}

}  // namespace
}  // namespace parvolen::inspect
