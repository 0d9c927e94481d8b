// SPDX-License-Identifier: Apache-2.0
// CHQGS_StatementBuilder: the text of every SQL statement the engines send.
//
// Values are spliced into fixed text: integers in decimal, fractions with six
// decimals (as "%f" writes them in the C locale, whatever the process locale
// says), names between double quotes, data and search texts between single
// quotes. Before a text is spliced, a pluggable escaping step makes it safe
// to stand between its quotes; the default doubles the enclosing quote
// character, so texts without that character are spliced byte for byte.
// The MySQL engine plugs in its own step (its server also treats backslashes
// as escapes).
#ifndef MARKSTORE_INTERNAL_STATEMENTBUILDER_H
#define MARKSTORE_INTERNAL_STATEMENTBUILDER_H

#include <functional>
#include <string>

namespace HQ {

class CHQGS_StatementBuilder {
public:
    // Answers text escaped so that it can stand between two quote characters.
    using TextEscaper = std::function<std::string(const std::string& text, char quote)>;

    // The few statements whose spelling differs between the engines.
    enum Dialect { SqliteDialect, MySQLDialect };

    // The default escaping: every quote character is doubled.
    static std::string DoubleQuoteChar(const std::string& text, char quote);

    explicit CHQGS_StatementBuilder(Dialect dialect = SqliteDialect, TextEscaper escaper = DoubleQuoteChar);

    Dialect dialect() const { return dialect_; }

    // Number formats of the statements.
    static std::string FormatInt(int value);
    static std::string FormatUnsigned(unsigned int value);
    static std::string FormatFraction(double value);  // six decimals, '.' as point

    // Reads.
    std::string getMark(int libID, int id) const;
    std::string getMarksByNode(int libID, int pid) const;
    std::string getMarkData(int libID, int id) const;
    std::string getShowMode(unsigned int libID, unsigned int id) const;
    std::string getMarkType(unsigned int libID, unsigned int id) const;
    std::string getMarkName(unsigned int libID, unsigned int id) const;
    // Searches; a libID of 0 or less searches every library.
    std::string findMarksById(int id, int libID) const;
    std::string findMarksByIdLike(int id, int libID) const;
    std::string findMarksByName(int libID, const std::string& name) const;
    std::string findMarksByNameLike(int libID, const std::string& text) const;
    std::string getTags() const;
    // pid -1 lists every node of the library.
    std::string getNodes(int libID, int pid) const;
    std::string getImage(int libID, int id) const;

    // Writes.
    std::string updateNode(int libID, int id, int pid, int level, const std::string& name) const;
    std::string addNode(int libID, int id, int pid, int level, const std::string& name) const;
    std::string deleteNode(int libID, int id, int pid) const;
    std::string updateTag(int id, const std::string& name, int nodeCount, int markCount) const;
    std::string addTag(int id, const std::string& name, int nodeCount, int markCount) const;
    std::string deleteTag(int id) const;
    std::string updateMark(int libID, int id, int pid, const std::string& name, int connectId,
                           int connectLibID, double mirror, double posX, double posY, double unknownS,
                           int textNum, double heading, int markType, double minX, double minY, double maxX,
                           double maxY, const std::string& data) const;
    std::string addMark(int libID, int id, int pid, const std::string& name, int connectId, int connectLibID,
                        double mirror, double posX, double posY, double unknownS, int textNum, double heading,
                        int markType, double minX, double minY, double maxX, double maxY,
                        const std::string& data) const;
    std::string deleteMark(int libID, int id) const;
    // The image bytes travel as the single bound parameter "?".
    std::string addImage(int libID, int id) const;
    std::string deleteImage(int libID, int id) const;

private:
    std::string named(const std::string& name) const;   // "name", escaped
    std::string texted(const std::string& text) const;  // 'text', escaped
    std::string escapedInSingle(const std::string& text) const;

    Dialect dialect_;
    TextEscaper escaper_;
};

}  // namespace HQ

#endif
