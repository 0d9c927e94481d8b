// SPDX-License-Identifier: Apache-2.0
// The records handed to callers: deep copies of images and their edge cases.
#include <markstore/SymbolRecords.h>

#include <gtest/gtest.h>

#include <string>

using HQ::CHQGS_SymbolImage;

namespace {

std::string Bytes(const CHQGS_SymbolImage& image) {
    return image.getData() == nullptr ? std::string()
                                      : std::string(reinterpret_cast<const char*>(image.getData()),
                                                    static_cast<size_t>(image.getSize()));
}

const unsigned char kAbc[] = {'a', 'b', 'c'};

TEST(StoreRecordsTest, ImageSetCopiesAndReplaces) {
    struct Case {
        const char* what;
        const unsigned char* bytes;
        int count;
        std::string expected;
    };
    const Case cases[] = {
        {"three bytes", kAbc, 3, "abc"},  {"prefix", kAbc, 2, "ab"},      {"zero count", kAbc, 0, ""},
        {"negative count", kAbc, -1, ""}, {"null bytes", nullptr, 3, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CHQGS_SymbolImage image(kAbc, 1);  // something to replace
        image.set(c.bytes, c.count);
        EXPECT_EQ(Bytes(image), c.expected);
        EXPECT_EQ(image.getSize(), static_cast<int>(c.expected.size()));
        EXPECT_EQ(image.getData() == nullptr, c.expected.empty());
        CHQGS_SymbolImage built(c.bytes, c.count);
        EXPECT_EQ(Bytes(built), c.expected);
    }
}

TEST(StoreRecordsTest, ImageCopiesAreDeepAndSelfSafe) {
    CHQGS_SymbolImage source(kAbc, 3);
    CHQGS_SymbolImage copy(source);
    CHQGS_SymbolImage assigned;
    assigned = source;
    EXPECT_NE(copy.getData(), source.getData());
    EXPECT_NE(assigned.getData(), source.getData());
    source.set(kAbc + 1, 1);
    EXPECT_EQ(Bytes(copy), "abc");
    EXPECT_EQ(Bytes(assigned), "abc");

    CHQGS_SymbolImage& alias = assigned;
    assigned = alias;  // self-assignment keeps the bytes
    EXPECT_EQ(Bytes(assigned), "abc");
    assigned.set(assigned.getData() + 1, 2);  // from its own buffer
    EXPECT_EQ(Bytes(assigned), "bc");
    CHQGS_SymbolImage empty;
    assigned = empty;
    EXPECT_EQ(assigned.getSize(), 0);
    EXPECT_EQ(assigned.getData(), nullptr);
}

TEST(StoreRecordsTest, TagAndNodeDefaultsAndCopies) {
    HQ::CHQGS_SymbolTag tag;
    EXPECT_EQ(tag.ID, 0);
    EXPECT_EQ(tag.LibName, "");
    tag.ID = 7;
    tag.LibName = "Land";
    HQ::CHQGS_SymbolTag tagCopy(tag);
    tag.LibName = "changed";
    EXPECT_EQ(tagCopy.LibName, "Land");
    EXPECT_EQ(tagCopy.ID, 7);

    HQ::CHQGS_SymbolNode node;
    EXPECT_EQ(node.PID, 0);
    EXPECT_EQ(node.NodeName, "");
    node.NodeName = "Armour";
    HQ::CHQGS_SymbolNode nodeCopy;
    nodeCopy = node;
    node.NodeName.clear();
    EXPECT_EQ(nodeCopy.NodeName, "Armour");
}

}  // namespace
