#include "engine/fading/EkranTools.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Pieces = std::vector<std::string>;

TEST(SplitByChar, SplitsAtEverySeparatorKeepingInnerEmptyPieces) {
    const struct {
        const char* text;
        const char* sep;
        Pieces pieces;
    } cases[] = {
        {"a,,b", ",", {"a", "", "b"}},
        {",a", ",", {"", "a"}},
        {"a,", ",", {"a"}},  // no empty last piece
        {"", ",", {}},
        {",", ",", {""}},
        {"g::h::e", "::", {"g", "h", "e"}},
        {"g::h:", "::", {"g", "h:"}},  // a single colon at the end stays in its piece
        {"name = 1, 2", "=", {"name ", " 1, 2"}},
        {"two words  here", " ", {"two", "words", "", "here"}},
        {"a<->b<->", "<->", {"a", "b"}},
        {"żółw,é", ",", {"żółw", "é"}},  // non-ASCII text survives the split
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(SplitByChar(c.text, c.sep, "", ""), c.pieces);
    }
}

TEST(SplitByChar, MarksProtectTheSeparatorAndAreDropped) {
    EXPECT_EQ(SplitByChar("a[b,c],d", ",", "[", "]"), (Pieces{"ab,c", "d"}));
    // A close mark outside any marked run is dropped too.
    EXPECT_EQ(SplitByChar("a]b,c", ",", "[", "]"), (Pieces{"ab", "c"}));
    // Only an open mark: marks are dropped but nothing is protected.
    EXPECT_EQ(SplitByChar("[a,b]", ",", "[", ""), (Pieces{"a", "b]"}));
    // Marks longer than one unit never match.
    EXPECT_EQ(SplitByChar("<<a,b>>", ",", "<<", ">>"), (Pieces{"<<a", "b>>"}));
    // An empty separator splits nowhere and returns.
    EXPECT_EQ(SplitByChar("abc", "", "", ""), (Pieces{"abc"}));
}

TEST(SplitByCharQuoted, QuotedSeparatorsDoNotSplitAndQuotesStay) {
    EXPECT_EQ(SplitByCharQuoted("\"x,y\",z", ",", "", ""), (Pieces{"\"x,y\"", "z"}));
    EXPECT_EQ(SplitByCharQuoted("a,\"b,c", ",", "", ""), (Pieces{"a", "\"b,c"}));  // never closed
    EXPECT_EQ(SplitByCharQuoted("1, \"two\", 3", ",", "", ""), (Pieces{"1", " \"two\"", " 3"}));
}

}  // namespace
