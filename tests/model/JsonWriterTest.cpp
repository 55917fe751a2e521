#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>

#include "model/JsonWriter.h"

namespace {

// Writes the same nested document, large enough to be passed on in several pieces.
void WriteSample(TJsonWriter& w, size_t* largestPending = nullptr) {
    w.BeginObject();
    w.Field("Name", std::string("a \"quoted\" name"));
    w.Key("Items");
    w.BeginArray();
    for (int i = 0; i < 80000; ++i) {
        w.BeginObject();
        w.Field("Index", int32_t(i));
        w.Field("Text", std::string(20, char('a' + i % 26)));
        w.Key("Empty");
        w.BeginArray();
        w.EndArray();
        w.EndObject();
        if (largestPending) *largestPending = std::max(*largestPending, w.Text().size());
    }
    w.EndArray();
    w.EndObject();
}

TEST(JsonWriter, SinkReceivesTheSameTextInBoundedPieces) {
    for (const bool pretty : {true, false}) {
        SCOPED_TRACE(pretty ? "pretty" : "compact");
        TJsonWriter whole(pretty);
        WriteSample(whole);
        ASSERT_GT(whole.Text().size(), size_t(3) << 20);

        std::ostringstream out;
        TJsonWriter streamed(out, pretty);
        size_t largestPending = 0;
        WriteSample(streamed, &largestPending);
        EXPECT_LT(largestPending, size_t(2) << 20);
        EXPECT_LT(out.str().size(), whole.Text().size()); // the last piece waits for Flush
        streamed.Flush();
        EXPECT_TRUE(streamed.Text().empty());
        EXPECT_EQ(out.str(), whole.Text());
    }
}

} // namespace
