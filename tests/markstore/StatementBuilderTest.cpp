// SPDX-License-Identifier: Apache-2.0
// Every statement text the engines send, byte for byte, in both dialects;
// the escaping of spliced texts and the number formats.
#include <markstore_internal/StatementBuilder.h>

#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <string>

using HQ::CHQGS_StatementBuilder;

namespace {

struct StatementCase {
    const char* what;
    std::function<std::string(const CHQGS_StatementBuilder&)> build;
    std::string sqlite;  // SQLite dialect
    std::string mysql;   // MySQL dialect; empty: same as sqlite
};

const CHQGS_StatementBuilder kSqlite(CHQGS_StatementBuilder::SqliteDialect);
const CHQGS_StatementBuilder kMySQL(CHQGS_StatementBuilder::MySQLDialect);

const StatementCase kStatements[] = {
    {"getMark", [](auto& b) { return b.getMark(3, 7); }, "SELECT * FROM Marks WHERE LibID=3 AND ID= 7;", ""},
    {"getMark negative", [](auto& b) { return b.getMark(-3, -7); },
     "SELECT * FROM Marks WHERE LibID=-3 AND ID= -7;", ""},
    {"getMarksByNode", [](auto& b) { return b.getMarksByNode(7, 103); },
     "SELECT * FROM Marks WHERE LibID=7 AND PID= 103;", ""},
    {"getMarkData", [](auto& b) { return b.getMarkData(3, 7); },
     "SELECT * FROM Marks WHERE LibID=3 AND ID= 7;", ""},
    {"getShowMode", [](auto& b) { return b.getShowMode(4, 12); },
     "SELECT ShowMode FROM Marks WHERE LibID=4 AND ID= 12;", ""},
    {"getShowMode all bits", [](auto& b) { return b.getShowMode(4294967295u, 4294967295u); },
     "SELECT ShowMode FROM Marks WHERE LibID=4294967295 AND ID= 4294967295;", ""},
    {"getMarkType", [](auto& b) { return b.getMarkType(4, 12); },
     "SELECT MarkType FROM Marks WHERE LibID=4 AND ID= 12;", ""},
    {"getMarkName", [](auto& b) { return b.getMarkName(4, 12); },
     "SELECT MarkName FROM Marks WHERE LibID=4 AND ID= 12;", ""},
    {"findMarksById in a library", [](auto& b) { return b.findMarksById(12, 4); },
     "SELECT * FROM Marks WHERE LibID=4 AND ID=12;", ""},
    {"findMarksById everywhere", [](auto& b) { return b.findMarksById(12, 0); },
     "SELECT * FROM Marks WHERE ID=12;", ""},
    {"findMarksById negative library", [](auto& b) { return b.findMarksById(12, -1); },
     "SELECT * FROM Marks WHERE ID=12;", ""},
    {"findMarksByIdLike in a library", [](auto& b) { return b.findMarksByIdLike(12, 4); },
     "SELECT * FROM Marks WHERE LibID = 4 AND ID LIKE '%12%';", ""},
    {"findMarksByIdLike everywhere", [](auto& b) { return b.findMarksByIdLike(12, 0); },
     "SELECT * FROM Marks WHERE ID LIKE '%12%';", ""},
    {"findMarksByName in a library", [](auto& b) { return b.findMarksByName(4, "Ford"); },
     "SELECT * FROM Marks WHERE LibID=4 AND MarkName='Ford';", ""},
    {"findMarksByName everywhere", [](auto& b) { return b.findMarksByName(0, "Ford"); },
     "SELECT * FROM Marks WHERE MarkName='Ford';", ""},
    {"findMarksByNameLike in a library", [](auto& b) { return b.findMarksByNameLike(4, "Bri"); },
     "SELECT * FROM Marks WHERE LibID=4 AND MarkName LIKE '%Bri%';", ""},
    {"findMarksByNameLike everywhere", [](auto& b) { return b.findMarksByNameLike(0, "Bri"); },
     "SELECT * FROM Marks WHERE MarkName LIKE '%Bri%';", ""},
    {"getTags", [](auto& b) { return b.getTags(); }, "SELECT * FROM Tags;", ""},
    {"getNodes of a parent", [](auto& b) { return b.getNodes(5, 0); },
     "SELECT * FROM Nodes WHERE LibID=5 AND PID=0;", ""},
    {"getNodes of the library", [](auto& b) { return b.getNodes(5, -1); },
     "SELECT * FROM Nodes WHERE LibID=5;", ""},
    {"getNodes pid -2", [](auto& b) { return b.getNodes(5, -2); },
     "SELECT * FROM Nodes WHERE LibID=5 AND PID=-2;", ""},
    {"getImage", [](auto& b) { return b.getImage(4, 12); }, "SELECT * FROM Images WHERE ID=12 AND LibID = 4;",
     "SELECT * FROM Images WHERE ID=12 AND LibID=4;"},
    {"updateNode", [](auto& b) { return b.updateNode(7, 103, 7, 2, "Armour"); },
     "UPDATE Nodes SET NodeName =\"Armour\" WHERE LibID=7 AND ID=103 AND PID=7;", ""},
    {"addNode", [](auto& b) { return b.addNode(7, 103, 7, 2, "Armour"); },
     "INSERT INTO Nodes(LibID, ID, PID, NodeLevel, NodeName)VALUES(7,103,7,2,\"Armour\");", ""},
    {"deleteNode", [](auto& b) { return b.deleteNode(7, 103, 7); },
     "DELETE FROM Nodes WHERE LibID=7 AND ID=103 AND PID=7;", ""},
    {"updateTag", [](auto& b) { return b.updateTag(7, "Land", 10, 20); },
     "UPDATE Tags SET LibName =\"Land\", NodeCount=10, MarkCount=20 WHERE ID=7;", ""},
    {"addTag", [](auto& b) { return b.addTag(7, "Land", 10, 20); },
     "INSERT INTO Tags(ID, LibName, NodeCount, MarkCount)VALUES(7,\"Land\",10,20);", ""},
    {"deleteTag", [](auto& b) { return b.deleteTag(7); }, "DELETE FROM Tags WHERE ID=7;", ""},
    {"updateMark",
     [](auto& b) {
         return b.updateMark(7, 2051, 103, "Tank", 5, 6, 1, -0.25, 2.5, 0, 3, 90, 1, -10, 10, 20.125, -3,
                             "[{\"Style\":1}]");
     },
     "UPDATE Marks SET PID =103,MarkName =\"Tank\",ConnectId = 5,ConnectLibId = 6,Mirror = 1.000000,"
     "PosX = -0.250000,PosY = 2.500000,UnknownS = 0.000000,TextNum = 3,Heading = 90.000000,MarkType = 1,"
     "MinX = -10.000000,MinY = 10.000000,MaxX = 20.125000,MaxY = -3.000000,Data = '[{\"Style\":1}]' "
     "WHERE LibID = 7 AND ID = 2051;",
     "UPDATE Marks SET PID =103,MarkName =\"Tank\",ConnectId = 5,ConnectLibId = 6,Mirror = 1.000000,"
     "PosX = -0.250000,PosY = 2.500000,UnknownS = 0.000000,TextNum = 3,Heading = 90.000000,MarkType = 1,"
     "MinX = -10.000000,MinY = 10.000000,MaxX = 20.125000,MaxY = -3.000000,Data = '[{\"Style\":1}]' "
     "WHERE LibID=7 AND ID = 2051;"},
    {"addMark",
     [](auto& b) {
         return b.addMark(7, 2051, 103, "Tank", 5, 6, 1, -0.25, 2.5, 0, 3, 90, 1, -10, 10, 20.125, -3,
                          "[{\"Style\":1}]");
     },
     "INSERT INTO Marks(LibID, ID, PID, MarkName, ConnectId, ConnectLibID, Mirror, PosX, PosY, UnknownS, "
     "TextNum, "
     "Heading, MarkType, MinX, MinY, MaxX, MaxY, "
     "Data)VALUES(7,2051,103,\"Tank\",5,6,1.000000,-0.250000,2.500000,"
     "0.000000,3,90.000000,1,-10.000000,10.000000,20.125000,-3.000000,'[{\"Style\":1}]');",
     ""},
    {"deleteMark", [](auto& b) { return b.deleteMark(7, 2051); },
     "DELETE FROM Marks WHERE LibID=7 AND ID = 2051;", ""},
    {"addImage", [](auto& b) { return b.addImage(7, 2051); },
     "INSERT INTO Images(LibID, ID, Image)VALUES(7,2051,?);", ""},
    {"deleteImage", [](auto& b) { return b.deleteImage(7, 2051); },
     "DELETE FROM Images WHERE LibID = 7 AND ID = 2051;", "DELETE FROM Images WHERE LibID=7 AND ID = 2051;"},
};

TEST(StatementBuilderTest, EveryStatementTextInBothDialects) {
    for (const StatementCase& c : kStatements) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(c.build(kSqlite), c.sqlite);
        EXPECT_EQ(c.build(kMySQL), c.mysql.empty() ? c.sqlite : c.mysql);
    }
}

// Hostile texts: the quote of the enclosing quotes is doubled, the other
// quote stays, so nothing ends the literal early.
TEST(StatementBuilderTest, SplicedTextsCannotLeaveTheirQuotes) {
    struct Case {
        const char* what;
        std::string built, expected;
    };
    const Case cases[] = {
        {"name search", kSqlite.findMarksByName(0, "x' OR '1'='1"),
         "SELECT * FROM Marks WHERE MarkName='x'' OR ''1''=''1';"},
        {"name search, both quotes", kSqlite.findMarksByName(4, "O'Neil \"q\""),
         "SELECT * FROM Marks WHERE LibID=4 AND MarkName='O''Neil \"q\"';"},
        {"like search", kSqlite.findMarksByNameLike(0, "%'; DROP TABLE Marks; --"),
         "SELECT * FROM Marks WHERE MarkName LIKE '%%''; DROP TABLE Marks; --%';"},
        {"tag name", kSqlite.addTag(1, "a\"),(2,\"b", 0, 0),
         "INSERT INTO Tags(ID, LibName, NodeCount, MarkCount)VALUES(1,\"a\"\"),(2,\"\"b\",0,0);"},
        {"tag rename", kSqlite.updateTag(1, "It's \"x\"", 0, 0),
         "UPDATE Tags SET LibName =\"It's \"\"x\"\"\", NodeCount=0, MarkCount=0 WHERE ID=1;"},
        {"node name", kSqlite.addNode(1, 2, 1, 1, "\""),
         "INSERT INTO Nodes(LibID, ID, PID, NodeLevel, NodeName)"
         "VALUES(1,2,1,1,\"\"\"\");"},
        {"node rename", kSqlite.updateNode(1, 2, 1, 1, "\"\""),
         "UPDATE Nodes SET NodeName =\"\"\"\"\"\" WHERE LibID=1 AND ID=2 AND PID=1;"},
        {"mark data",
         kSqlite.addMark(1, 2, 3, "n'\"", 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, "[{\"Text\":\"it's\"}]"),
         "INSERT INTO Marks(LibID, ID, PID, MarkName, ConnectId, ConnectLibID, Mirror, PosX, PosY, UnknownS, "
         "TextNum, Heading, MarkType, MinX, MinY, MaxX, MaxY, "
         "Data)VALUES(1,2,3,\"n'\"\"\",0,0,0.000000,0.000000,"
         "0.000000,0.000000,0,0.000000,0,0.000000,0.000000,0.000000,0.000000,'[{\"Text\":\"it''s\"}]');"},
        {"mark update", kSqlite.updateMark(1, 2, 3, "\"", 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, "'"),
         "UPDATE Marks SET PID =3,MarkName =\"\"\"\",ConnectId = 0,ConnectLibId = 0,Mirror = 0.000000,"
         "PosX = 0.000000,PosY = 0.000000,UnknownS = 0.000000,TextNum = 0,Heading = 0.000000,MarkType = 0,"
         "MinX = 0.000000,MinY = 0.000000,MaxX = 0.000000,MaxY = 0.000000,Data = '''' WHERE LibID = 1 AND ID "
         "= 2;"},
    };
    for (const Case& c : cases) EXPECT_EQ(c.built, c.expected) << c.what;
}

TEST(StatementBuilderTest, EscapingIsPluggable) {
    // An escaper in the manner of a server that also treats backslashes as
    // escapes.
    CHQGS_StatementBuilder backslashing(CHQGS_StatementBuilder::MySQLDialect,
                                        [](const std::string& text, char quote) {
                                            std::string out;
                                            for (char c : text) {
                                                if (c == '\\' || c == quote) out += '\\';
                                                out += c;
                                            }
                                            return out;
                                        });
    EXPECT_EQ(backslashing.findMarksByName(0, "a\\'b"), "SELECT * FROM Marks WHERE MarkName='a\\\\\\'b';");
    EXPECT_EQ(backslashing.addTag(1, "q\"", 0, 0),
              "INSERT INTO Tags(ID, LibName, NodeCount, MarkCount)VALUES(1,\"q\\\"\",0,0);");
    // Plain values are untouched by either escaper.
    EXPECT_EQ(backslashing.findMarksByNameLike(4, "Bri"), kSqlite.findMarksByNameLike(4, "Bri"));
    // An empty escaper falls back to doubling.
    CHQGS_StatementBuilder fallback(CHQGS_StatementBuilder::SqliteDialect, nullptr);
    EXPECT_EQ(fallback.findMarksByName(0, "'"), "SELECT * FROM Marks WHERE MarkName='''';");
}

TEST(StatementBuilderTest, NumberFormats) {
    struct FractionCase {
        double value;
        const char* text;
    };
    const FractionCase fractions[] = {
        {0.0, "0.000000"},
        {2.5, "2.500000"},
        {-0.25, "-0.250000"},
        {1.0 / 3, "0.333333"},
        {2.0 / 3, "0.666667"},
        {-1e-9, "-0.000000"},
        {123456789.125, "123456789.125000"},
        {1e20, "100000000000000000000.000000"},
    };
    for (const FractionCase& c : fractions)
        EXPECT_EQ(CHQGS_StatementBuilder::FormatFraction(c.value), c.text) << c.value;
    EXPECT_EQ(CHQGS_StatementBuilder::FormatFraction(-1.7976931348623157e308).size(), 317u);
    EXPECT_EQ(CHQGS_StatementBuilder::FormatInt(INT_MIN), "-2147483648");
    EXPECT_EQ(CHQGS_StatementBuilder::FormatInt(INT_MAX), "2147483647");
    EXPECT_EQ(CHQGS_StatementBuilder::FormatUnsigned(UINT_MAX), "4294967295");
}

}  // namespace
