// SPDX-License-Identifier: Apache-2.0
#include <markstore_internal/StatementBuilder.h>

#include <charconv>
#include <utility>

namespace HQ {

namespace {

// Wide enough for "%f" of the largest double (309 integer digits, the point,
// six decimals and a sign).
constexpr int kFractionBufferSize = 330;
constexpr int kFractionDecimals = 6;

}  // namespace

std::string CHQGS_StatementBuilder::DoubleQuoteChar(const std::string& text, char quote) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        out += c;
        if (c == quote) out += c;
    }
    return out;
}

CHQGS_StatementBuilder::CHQGS_StatementBuilder(Dialect dialect, TextEscaper escaper)
    : dialect_(dialect), escaper_(escaper ? std::move(escaper) : TextEscaper(DoubleQuoteChar)) {}

std::string CHQGS_StatementBuilder::FormatInt(int value) { return std::to_string(value); }

std::string CHQGS_StatementBuilder::FormatUnsigned(unsigned int value) { return std::to_string(value); }

std::string CHQGS_StatementBuilder::FormatFraction(double value) {
    // std::to_chars writes as "%f" does in the C locale; snprintf would follow
    // LC_NUMERIC, which the code-page conversions may set to the user's
    // locale, and a decimal comma would split the value in two.
    char buf[kFractionBufferSize];
    std::to_chars_result r =
        std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, kFractionDecimals);
    return std::string(buf, r.ptr);
}

std::string CHQGS_StatementBuilder::named(const std::string& name) const {
    return "\"" + escaper_(name, '"') + "\"";
}

std::string CHQGS_StatementBuilder::texted(const std::string& text) const {
    return "'" + escapedInSingle(text) + "'";
}

std::string CHQGS_StatementBuilder::escapedInSingle(const std::string& text) const {
    return escaper_(text, '\'');
}

// ---- Reads -----------------------------------------------------------------

std::string CHQGS_StatementBuilder::getMark(int libID, int id) const {
    return "SELECT * FROM Marks WHERE LibID=" + FormatInt(libID) + " AND ID= " + FormatInt(id) + ";";
}

std::string CHQGS_StatementBuilder::getMarksByNode(int libID, int pid) const {
    return "SELECT * FROM Marks WHERE LibID=" + FormatInt(libID) + " AND PID= " + FormatInt(pid) + ";";
}

std::string CHQGS_StatementBuilder::getMarkData(int libID, int id) const { return getMark(libID, id); }

std::string CHQGS_StatementBuilder::getShowMode(unsigned int libID, unsigned int id) const {
    return "SELECT ShowMode FROM Marks WHERE LibID=" + FormatUnsigned(libID) +
           " AND ID= " + FormatUnsigned(id) + ";";
}

std::string CHQGS_StatementBuilder::getMarkType(unsigned int libID, unsigned int id) const {
    return "SELECT MarkType FROM Marks WHERE LibID=" + FormatUnsigned(libID) +
           " AND ID= " + FormatUnsigned(id) + ";";
}

std::string CHQGS_StatementBuilder::getMarkName(unsigned int libID, unsigned int id) const {
    return "SELECT MarkName FROM Marks WHERE LibID=" + FormatUnsigned(libID) +
           " AND ID= " + FormatUnsigned(id) + ";";
}

std::string CHQGS_StatementBuilder::findMarksById(int id, int libID) const {
    if (libID > 0)
        return "SELECT * FROM Marks WHERE LibID=" + FormatInt(libID) + " AND ID=" + FormatInt(id) + ";";
    return "SELECT * FROM Marks WHERE ID=" + FormatInt(id) + ";";
}

std::string CHQGS_StatementBuilder::findMarksByIdLike(int id, int libID) const {
    if (libID > 0)
        return "SELECT * FROM Marks WHERE LibID = " + FormatInt(libID) + " AND ID LIKE '%" + FormatInt(id) +
               "%';";
    return "SELECT * FROM Marks WHERE ID LIKE '%" + FormatInt(id) + "%';";
}

std::string CHQGS_StatementBuilder::findMarksByName(int libID, const std::string& name) const {
    if (libID > 0)
        return "SELECT * FROM Marks WHERE LibID=" + FormatInt(libID) + " AND MarkName=" + texted(name) + ";";
    return "SELECT * FROM Marks WHERE MarkName=" + texted(name) + ";";
}

std::string CHQGS_StatementBuilder::findMarksByNameLike(int libID, const std::string& text) const {
    if (libID > 0)
        return "SELECT * FROM Marks WHERE LibID=" + FormatInt(libID) + " AND MarkName LIKE '%" +
               escapedInSingle(text) + "%';";
    return "SELECT * FROM Marks WHERE MarkName LIKE '%" + escapedInSingle(text) + "%';";
}

// The table's own spelling: a server with case-sensitive table names finds
// no table "TAGS".
std::string CHQGS_StatementBuilder::getTags() const { return "SELECT * FROM Tags;"; }

std::string CHQGS_StatementBuilder::getNodes(int libID, int pid) const {
    if (pid == -1) return "SELECT * FROM Nodes WHERE LibID=" + FormatInt(libID) + ";";
    return "SELECT * FROM Nodes WHERE LibID=" + FormatInt(libID) + " AND PID=" + FormatInt(pid) + ";";
}

std::string CHQGS_StatementBuilder::getImage(int libID, int id) const {
    const char* libEquals = dialect_ == MySQLDialect ? " AND LibID=" : " AND LibID = ";
    return "SELECT * FROM Images WHERE ID=" + FormatInt(id) + libEquals + FormatInt(libID) + ";";
}

// ---- Writes ----------------------------------------------------------------

std::string CHQGS_StatementBuilder::updateNode(int libID, int id, int pid, int /*level*/,
                                               const std::string& name) const {
    return "UPDATE Nodes SET NodeName =" + named(name) + " WHERE LibID=" + FormatInt(libID) +
           " AND ID=" + FormatInt(id) + " AND PID=" + FormatInt(pid) + ";";
}

std::string CHQGS_StatementBuilder::addNode(int libID, int id, int pid, int level,
                                            const std::string& name) const {
    return "INSERT INTO Nodes(LibID, ID, PID, NodeLevel, NodeName)VALUES(" + FormatInt(libID) + "," +
           FormatInt(id) + "," + FormatInt(pid) + "," + FormatInt(level) + "," + named(name) + ");";
}

std::string CHQGS_StatementBuilder::deleteNode(int libID, int id, int pid) const {
    return "DELETE FROM Nodes WHERE LibID=" + FormatInt(libID) + " AND ID=" + FormatInt(id) +
           " AND PID=" + FormatInt(pid) + ";";
}

std::string CHQGS_StatementBuilder::updateTag(int id, const std::string& name, int nodeCount,
                                              int markCount) const {
    return "UPDATE Tags SET LibName =" + named(name) + ", NodeCount=" + FormatInt(nodeCount) +
           ", MarkCount=" + FormatInt(markCount) + " WHERE ID=" + FormatInt(id) + ";";
}

std::string CHQGS_StatementBuilder::addTag(int id, const std::string& name, int nodeCount,
                                           int markCount) const {
    return "INSERT INTO Tags(ID, LibName, NodeCount, MarkCount)VALUES(" + FormatInt(id) + "," + named(name) +
           "," + FormatInt(nodeCount) + "," + FormatInt(markCount) + ");";
}

std::string CHQGS_StatementBuilder::deleteTag(int id) const {
    return "DELETE FROM Tags WHERE ID=" + FormatInt(id) + ";";
}

std::string CHQGS_StatementBuilder::updateMark(int libID, int id, int pid, const std::string& name,
                                               int connectId, int connectLibID, double mirror, double posX,
                                               double posY, double unknownS, int textNum, double heading,
                                               int markType, double minX, double minY, double maxX,
                                               double maxY, const std::string& data) const {
    std::string sql = "UPDATE Marks SET PID =" + FormatInt(pid) + ",MarkName =" + named(name) +
                      ",ConnectId = " + FormatInt(connectId) + ",ConnectLibId = " + FormatInt(connectLibID) +
                      ",Mirror = " + FormatFraction(mirror) + ",PosX = " + FormatFraction(posX) +
                      ",PosY = " + FormatFraction(posY) + ",UnknownS = " + FormatFraction(unknownS) +
                      ",TextNum = " + FormatInt(textNum) + ",Heading = " + FormatFraction(heading) +
                      ",MarkType = " + FormatInt(markType) + ",MinX = " + FormatFraction(minX) +
                      ",MinY = " + FormatFraction(minY) + ",MaxX = " + FormatFraction(maxX) +
                      ",MaxY = " + FormatFraction(maxY) + ",Data = " + texted(data);
    sql += dialect_ == MySQLDialect ? " WHERE LibID=" : " WHERE LibID = ";
    return sql + FormatInt(libID) + " AND ID = " + FormatInt(id) + ";";
}

std::string CHQGS_StatementBuilder::addMark(int libID, int id, int pid, const std::string& name,
                                            int connectId, int connectLibID, double mirror, double posX,
                                            double posY, double unknownS, int textNum, double heading,
                                            int markType, double minX, double minY, double maxX, double maxY,
                                            const std::string& data) const {
    return "INSERT INTO Marks(LibID, ID, PID, MarkName, ConnectId, ConnectLibID, Mirror, PosX, PosY, "
           "UnknownS, "
           "TextNum, Heading, MarkType, MinX, MinY, MaxX, MaxY, Data)VALUES(" +
           FormatInt(libID) + "," + FormatInt(id) + "," + FormatInt(pid) + "," + named(name) + "," +
           FormatInt(connectId) + "," + FormatInt(connectLibID) + "," + FormatFraction(mirror) + "," +
           FormatFraction(posX) + "," + FormatFraction(posY) + "," + FormatFraction(unknownS) + "," +
           FormatInt(textNum) + "," + FormatFraction(heading) + "," + FormatInt(markType) + "," +
           FormatFraction(minX) + "," + FormatFraction(minY) + "," + FormatFraction(maxX) + "," +
           FormatFraction(maxY) + "," + texted(data) + ");";
}

std::string CHQGS_StatementBuilder::deleteMark(int libID, int id) const {
    return "DELETE FROM Marks WHERE LibID=" + FormatInt(libID) + " AND ID = " + FormatInt(id) + ";";
}

std::string CHQGS_StatementBuilder::addImage(int libID, int id) const {
    return "INSERT INTO Images(LibID, ID, Image)VALUES(" + FormatInt(libID) + "," + FormatInt(id) + ",?);";
}

std::string CHQGS_StatementBuilder::deleteImage(int libID, int id) const {
    const char* head =
        dialect_ == MySQLDialect ? "DELETE FROM Images WHERE LibID=" : "DELETE FROM Images WHERE LibID = ";
    return head + FormatInt(libID) + " AND ID = " + FormatInt(id) + ";";
}

}  // namespace HQ
