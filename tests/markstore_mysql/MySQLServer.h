// SPDX-License-Identifier: Apache-2.0
// Test helpers for the MySQL engine: the connection settings of the shared
// loopback server that the test fixture starts (its connection file is named
// by SITPLOT_MYSQL_CONNECTION), and a private server that a test starts and
// stops itself with the same script.
#ifndef SITPLOT_TESTS_MYSQLSERVER_H
#define SITPLOT_TESTS_MYSQLSERVER_H

#include <string>

struct MySQLSettings {
    std::string host;
    unsigned int port = 0;
    std::string user;
    std::string password;
    std::string database;

    // Gives the settings to anything with the engine's setters (an engine or
    // the manager).
    template <typename Target>
    void applyTo(Target* target) const {
        target->setHost(host.c_str());
        target->setUser(user.c_str());
        target->setPassward(password.c_str());
        target->setDBname(database.c_str());
        target->setPort(port);
    }
};

// Reads a connection file (host, port, user, password, database, one per
// line). False with the reason in *why.
bool ReadMySQLSettingsFile(const std::string& path, MySQLSettings* settings, std::string* why);

// The shared server's settings, read once. False with a message that says how
// to get the server when it is not available.
bool SharedMySQLSettings(MySQLSettings* settings, std::string* why);

// A server of its own for a test that stops it; stopped at destruction at
// the latest.
class PrivateMySQLServer {
public:
    explicit PrivateMySQLServer(std::string dir) : dir_(std::move(dir)) {}
    ~PrivateMySQLServer() { stop(); }
    PrivateMySQLServer(const PrivateMySQLServer&) = delete;
    PrivateMySQLServer& operator=(const PrivateMySQLServer&) = delete;

    // Starts the server with the sample library loaded.
    bool start(MySQLSettings* settings, std::string* why);
    void stop();
    // Stops the running server and starts it again on the same port and
    // data, as an operator's restart does.
    bool restart(std::string* why);
    // The server's process identifier; 0 when it is not known.
    int pid() const;

private:
    std::string dir_;
    bool running_ = false;
};

#endif
