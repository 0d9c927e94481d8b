#include "MySQLServer.h"

#include <cstdlib>
#include <fstream>

namespace {

const char kConnectionVariable[] = "SITPLOT_MYSQL_CONNECTION";
const std::string kScript = SITPLOT_SOURCE_DIR "/scripts/mariadb-fixture";
const std::string kLibrary = SITPLOT_SOURCE_DIR "/examples/symbol-library";

}  // namespace

bool ReadMySQLSettingsFile(const std::string& path, MySQLSettings* settings, std::string* why) {
    std::ifstream in(path);
    std::string port;
    if (!in || !std::getline(in, settings->host) || !std::getline(in, port) ||
        !std::getline(in, settings->user) || !std::getline(in, settings->password) ||
        !std::getline(in, settings->database)) {
        *why = "cannot read the connection file " + path;
        return false;
    }
    settings->port = static_cast<unsigned int>(std::strtoul(port.c_str(), nullptr, 10));
    return true;
}

bool SharedMySQLSettings(MySQLSettings* settings, std::string* why) {
    const char* path = std::getenv(kConnectionVariable);
    if (path == nullptr || *path == '\0') {
        *why = std::string(kConnectionVariable) +
               " is not set: run these tests through ctest, which starts the server (test "
               "mysql_server_start), or start one with scripts/mariadb-fixture and point the variable at its "
               "connection file";
        return false;
    }
    if (!ReadMySQLSettingsFile(path, settings, why)) {
        *why += " (did the test mysql_server_start fail? see its output)";
        return false;
    }
    return true;
}

bool PrivateMySQLServer::start(MySQLSettings* settings, std::string* why) {
    const std::string command =
        "'" + kScript + "' start '" + dir_ + "' '" + kLibrary + "/schema.sql' '" + kLibrary + "/sample.sql'";
    running_ = true;  // stop also cleans up after a half-started server
    if (std::system(command.c_str()) != 0) {
        *why = "the private server did not start: " + command;
        return false;
    }
    return ReadMySQLSettingsFile(dir_ + "/connection", settings, why);
}

void PrivateMySQLServer::stop() {
    if (!running_) return;
    running_ = false;
    const std::string command = "'" + kScript + "' stop '" + dir_ + "'";
    if (std::system(command.c_str()) != 0) {
        // Nothing more to do: the next start stops a server left behind.
    }
}
