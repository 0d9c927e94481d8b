// SPDX-License-Identifier: Apache-2.0
// symlib end to end: the program run on the keyed SQLite test databases and
// (the MySql* cases) on the throwaway MySQL server of the test fixture.
#include <gtest/gtest.h>

#include <tinyxml.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

const std::string kSymlib = SYMLIB_PROGRAM;
const std::string kLibraries = SITPLOT_BINARY_DIR "/examples/symbol-library/";

struct Outcome {
    int status = -1;
    std::string out, err;
};

std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

std::string Quote(const std::string& arg) {
    std::string q = "'";
    for (char c : arg) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

Outcome Symlib(const std::vector<std::string>& args, const std::string& env = "") {
    char dir[] = "/tmp/symlib-test-XXXXXX";
    if (!mkdtemp(dir)) return {};
    std::string cmd = env + " " + Quote(kSymlib);
    for (const auto& a : args) cmd += " " + Quote(a);
    const std::string out = std::string(dir) + "/out", err = std::string(dir) + "/err";
    cmd += " >" + out + " 2>" + err;
    const int raw = std::system(cmd.c_str());
    Outcome r;
    r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    r.out = Slurp(out), r.err = Slurp(err);
    std::remove(out.c_str());
    std::remove(err.c_str());
    rmdir(dir);
    return r;
}

bool ValidUtf8(const std::string& s) {
    for (std::size_t i = 0; i < s.size();) {
        const auto b = static_cast<unsigned char>(s[i]);
        const std::size_t n = b < 0x80 ? 1 : (b >> 5) == 6 ? 2 : (b >> 4) == 14 ? 3 : (b >> 3) == 30 ? 4 : 0;
        if (n == 0 || i + n > s.size()) return false;
        for (std::size_t k = 1; k < n; ++k)
            if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
        i += n;
    }
    return true;
}

int Lines(const std::string& s) {
    int n = 0;
    for (char c : s) n += c == '\n';
    return n;
}

// The connection arguments of either engine.
struct Engine {
    std::vector<std::string> args;
    std::string env;
};

Engine Sqlite() { return {{"--db", kLibraries + "sample.db"}, ""}; }

bool MySql(Engine* engine, std::string* why) {
    const char* file = std::getenv("SITPLOT_MYSQL_CONNECTION");
    if (!file) {
        *why = "SITPLOT_MYSQL_CONNECTION is not set (run through ctest)";
        return false;
    }
    std::ifstream in(file);
    std::string host, port, user, password, database;
    if (!std::getline(in, host) || !std::getline(in, port) || !std::getline(in, user) ||
        !std::getline(in, password) || !std::getline(in, database)) {
        *why = std::string("cannot read ") + file;
        return false;
    }
    engine->args = {"--mysql", host + ":" + port, "--user", user, "--database", database};
    engine->env = "SYMLIB_PASSWORD=" + Quote(password);
    return true;
}

std::vector<std::string> With(const Engine& e, std::vector<std::string> args) {
    std::vector<std::string> all = e.args;
    all.insert(all.end(), args.begin(), args.end());
    return all;
}

// The checks both engines must pass: output in UTF-8 whatever the engine's
// text encoding, and the same answers.
void CommonChecks(const Engine& e) {
    struct Case {
        std::vector<std::string> args;
        int status;
        std::string inOut, inErr;
        int lines;  // -1: not checked
    };
    const std::vector<Case> cases = {
        {{"tags"}, 0, "1\t\xE6\x88\x98\xE6\x9C\xAF\xE6\xA0\x87\xE5\x8F\xB7\t9\t5", "", -1},
        {{"tree", "1"}, 0, "    \xE6\xAD\xA5\xE5\x85\xB5 [1001] 1", "", 10},
        {{"tree", "99"}, 1, "", "no library 99", -1},
        {{"find", "North"}, 0, "2\t2003\tNorth arrow", "", -1},
        {{"find", "north", "--lib", "2"}, 0, "2\t2003\tNorth arrow", "", 1},
        {{"find", "North", "--lib", "1"}, 0, "", "", 0},
        {{"find", "a_"}, 0, "", "", 0},  // _ is no wildcard
        {{"find", "%"}, 0, "", "", 0},   // nor is %
        {{"find", "e n", "--lib", "2"}, 0, "Place name", "", 1},
        {{"find", "x'; DROP TABLE Marks; --"}, 0, "", "", 0},
        {{"show", "1", "1004"}, 0, "MarkName: \xE6\x8C\x87\xE6\x8C\xA5\xE6\x89\x80", "", -1},
        {{"show", "1", "9999"}, 1, "", "no symbol 9999 in library 1", -1},
        {{"render", "2", "2003"}, 0, "<title>North arrow</title>", "", -1},
        {{"render", "1", "77"}, 1, "", "no symbol 77", -1},
        {{"export", "2"}, 0, "<Symbol libId=\"2\" id=\"2003\" name=\"North arrow\" />", "", -1},
        {{"export", "5"}, 1, "", "no library 5", -1},
        {{"show", "1"}, 2, "", "ID", -1},
        {{"bogus"}, 2, "", "", -1},
        {{"render", "1", "1001", "--size", "0"}, 2, "", "", -1},
    };
    for (const Case& c : cases) {
        std::string joined;
        for (auto& a : c.args) joined += a + " ";
        SCOPED_TRACE(joined);
        Outcome r = Symlib(With(e, c.args), e.env);
        EXPECT_EQ(r.status, c.status) << r.err;
        EXPECT_NE(r.out.find(c.inOut), std::string::npos) << r.out;
        EXPECT_NE(r.err.find(c.inErr), std::string::npos) << r.err;
        EXPECT_TRUE(ValidUtf8(r.out));
        if (c.lines >= 0) {
            EXPECT_EQ(Lines(r.out), c.lines) << r.out;
        }
        if (c.status == 1) {
            EXPECT_EQ(Lines(r.err), 1) << r.err;
        }
    }

    // show --json is one JSON object with the same content.
    Outcome json = Symlib(With(e, {"show", "2", "2003", "--json"}), e.env);
    EXPECT_EQ(json.status, 0);
    EXPECT_EQ(json.out.front(), '{');
    EXPECT_NE(json.out.find("\"kind\":\"text\""), std::string::npos);
    EXPECT_NE(json.out.find("\"points\":[[-10,-25],[0,-40],[10,-25]]"), std::string::npos) << json.out;

    // export: UTF-8 with a matching declaration, well-formed, one library.
    Outcome xml = Symlib(With(e, {"export", "1"}), e.env);
    ASSERT_EQ(xml.status, 0);
    EXPECT_TRUE(ValidUtf8(xml.out));
    TiXmlDocument doc;
    doc.Parse(xml.out.c_str(), nullptr, TIXML_ENCODING_UTF8);
    ASSERT_FALSE(doc.Error());
    EXPECT_STREQ(doc.FirstChild()->ToDeclaration()->Encoding(), "UTF-8");
    int tags = 0;
    for (TiXmlElement* t = doc.RootElement()->FirstChildElement("SymbolTag"); t; t = t->NextSiblingElement())
        ++tags;
    EXPECT_EQ(tags, 1);
    EXPECT_NE(xml.out.find("name=\"\xE9\x9B\xB7\xE5\x9C\xBA\""), std::string::npos);  // 雷场

    // render -o: an SVG file and a PNG file.
    const std::string svgPath = "/tmp/symlib-e2e-" + std::to_string(getpid()) + ".svg";
    const std::string pngPath = "/tmp/symlib-e2e-" + std::to_string(getpid()) + ".png";
    EXPECT_EQ(Symlib(With(e, {"render", "1", "1005", "-o", svgPath, "--points"}), e.env).status, 0);
    const std::string svg = Slurp(svgPath);
    EXPECT_NE(svg.find("<text data-unit=\"2\""), std::string::npos);
    EXPECT_NE(svg.find("\xE9\x9B\xB7\xE5\x9C\xBA</text>"), std::string::npos);
    EXPECT_NE(svg.find("<circle"), std::string::npos);
    EXPECT_EQ(Symlib(With(e, {"render", "1", "1001", "-o", pngPath, "--size", "64"}), e.env).status, 0);
    EXPECT_EQ(Slurp(pngPath).compare(0, 8, "\x89PNG\r\n\x1a\n"), 0);
    std::remove(svgPath.c_str());
    std::remove(pngPath.c_str());
}

}  // namespace

TEST(SymlibSqlite, CommandsOnTheSampleLibrary) { CommonChecks(Sqlite()); }

// Search texts on the command line are in the terminal's code page (GBK in
// the tests).
TEST(SymlibSqlite, SearchTextInTheLocalCodePage) {
    Outcome r = Symlib(With(Sqlite(), {"find", "\xB7\xD6\xB6\xD3"}));  // 分队 in GBK
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(Lines(r.out), 3) << r.out;
    EXPECT_NE(r.out.find("1\t1002\t\xE8\xA3\x85\xE7\x94\xB2\xE5\x88\x86\xE9\x98\x9F"), std::string::npos);
}

TEST(SymlibSqlite, FailuresGiveOneLineAndStatus) {
    struct Case {
        std::vector<std::string> args;
        int status;
        std::string inErr;
    };
    const std::vector<Case> cases = {
        {{"--db", kLibraries + "missing.db", "tags"}, 1, "no such file"},
        {{"--db", std::string(SITPLOT_TEST_DATABASE_DIR "/wrong-key.db"), "tags"}, 1, "wrong key"},
        {{"--db", std::string(SITPLOT_TEST_DATABASE_DIR "/plain.db"), "tags"}, 1, "without the library key"},
        {{"--db", kLibraries, "tags"}, 1, "directory"},
        {{"tags"}, 2, "--db FILE or --mysql"},
        {{"--db", "x.db", "--mysql", "h", "tags"}, 2, "excludes"},
        {{"--mysql", "127.0.0.1:1", "--user", "u", "--database", "d", "tags"}, 1, "cannot connect"},
        {{"--mysql", "127.0.0.1:99999", "--user", "u", "--database", "d", "tags"}, 2, "port"},
        {{"--mysql", "127.0.0.1", "tags"}, 2, "--user and --database"},
        {{"--mysql", "127.0.0.1:1", "--user", "u", "--database", "d", "--password-file", "/nonexistent",
          "tags"},
         1,
         "password file"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.inErr);
        Outcome r = Symlib(c.args);
        EXPECT_EQ(r.status, c.status) << r.err;
        EXPECT_NE(r.err.find(c.inErr), std::string::npos) << r.err;
        if (c.status == 1) {
            EXPECT_EQ(Lines(r.err), 1) << r.err;
        }
    }
}

TEST(SymlibSqlite, HelpAndVersion) {
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"--help"}, {"render", "--help"}, {"catalogue", "--help"}}) {
        Outcome r = Symlib(args);
        EXPECT_EQ(r.status, 0);
        EXPECT_NE(r.out.find("Usage"), std::string::npos) << r.out;
    }
    Outcome v = Symlib({"--version"});
    EXPECT_EQ(v.status, 0);
    EXPECT_EQ(v.out, "symlib " SYMLIB_VERSION "\n");
}

TEST(SymlibSqlite, CatalogueIsOneSelfContainedPage) {
    const std::string dir = "/tmp/symlib-catalogue-" + std::to_string(getpid());
    Outcome r = Symlib(With(Sqlite(), {"catalogue", "-o", dir, "--lib", "1"}));
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string html = Slurp(dir + "/index.html");
    EXPECT_TRUE(ValidUtf8(html));
    // Five symbols of library 1, each with an inline SVG; nothing fetched.
    int svgs = 0;
    for (std::size_t p = 0; (p = html.find("\\u003csvg xmlns", p)) != std::string::npos; ++p) ++svgs;
    EXPECT_EQ(svgs, 5);
    EXPECT_EQ(html.find("http://", html.find("<script>")),
              html.find("http://www.w3.org", html.find("<script>")));
    EXPECT_EQ(html.find("src=\""), std::string::npos);
    EXPECT_EQ(html.find("<link"), std::string::npos);
    EXPECT_EQ(Symlib(With(Sqlite(), {"catalogue", "-o", dir, "--lib", "42"})).status, 1);
    std::remove((dir + "/index.html").c_str());
    rmdir(dir.c_str());
}

TEST(SymlibMySql, CommandsOnTheSampleLibrary) {
    Engine e;
    std::string why;
    ASSERT_TRUE(MySql(&e, &why)) << why;
    CommonChecks(e);
}

TEST(SymlibMySql, PasswordFromFileAndWrongPassword) {
    Engine e;
    std::string why;
    ASSERT_TRUE(MySql(&e, &why)) << why;
    const std::string file = "/tmp/symlib-pw-" + std::to_string(getpid());
    {
        std::ofstream pw(file);
        pw << e.env.substr(std::string("SYMLIB_PASSWORD='").size(), e.env.size() - 18) << "\n";
    }
    std::vector<std::string> args = e.args;
    args.insert(args.end(), {"--password-file", file, "tags"});
    Outcome ok = Symlib(args);
    EXPECT_EQ(ok.status, 0) << ok.err;
    EXPECT_NE(ok.out.find("2\tAnnotations\t5\t3\n"), std::string::npos) << ok.out;
    Outcome wrong = Symlib(With(e, {"tags"}), "SYMLIB_PASSWORD=wrong");
    EXPECT_EQ(wrong.status, 1);
    EXPECT_NE(wrong.err.find("cannot connect"), std::string::npos) << wrong.err;
    std::remove(file.c_str());
}
