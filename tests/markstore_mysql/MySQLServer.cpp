// SPDX-License-Identifier: Apache-2.0
#include "MySQLServer.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>
#include <vector>

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

int PrivateMySQLServer::pid() const {
    std::ifstream in(dir_ + "/mariadbd.pid");
    int pid = 0;
    in >> pid;
    return pid;
}

namespace {

bool PortAccepts(unsigned int port) {
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    if (fd < 0) return false;
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(static_cast<uint16_t>(port));
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    const bool ok = connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0;
    ::close(fd);
    return ok;
}

}  // namespace

bool PrivateMySQLServer::restart(std::string* why) {
    const int old = pid();
    if (old <= 0) {
        *why = "no server to restart";
        return false;
    }
    // The command line it was started with (arguments separated by NULs).
    std::ifstream cmdline("/proc/" + std::to_string(old) + "/cmdline", std::ios::binary);
    std::stringstream raw;
    raw << cmdline.rdbuf();
    std::vector<std::string> args;
    std::string arg;
    for (char c : raw.str()) {
        if (c == '\0') {
            args.push_back(arg);
            arg.clear();
        } else {
            arg += c;
        }
    }
    unsigned int port = 0;
    for (const std::string& a : args)
        if (a.compare(0, 7, "--port=") == 0)
            port = static_cast<unsigned int>(std::strtoul(a.c_str() + 7, nullptr, 10));
    if (args.empty() || port == 0) {
        *why = "cannot read the server's command line";
        return false;
    }
    kill(old, SIGTERM);
    for (int i = 0; i < 300 && kill(old, 0) == 0; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    if (kill(old, 0) == 0) {
        *why = "the server did not stop";
        return false;
    }
    const pid_t child = fork();
    if (child == 0) {
        setsid();
        const int out = open((dir_ + "/server.out").c_str(), O_WRONLY | O_APPEND | O_CREAT, 0644);
        if (out >= 0) {
            dup2(out, 1);
            dup2(out, 2);
        }
        std::vector<char*> argv;
        for (std::string& a : args) argv.push_back(&a[0]);
        argv.push_back(nullptr);
        execv(argv[0], argv.data());
        _exit(127);
    }
    for (int i = 0; i < 600; ++i) {
        if (PortAccepts(port)) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    *why = "the restarted server does not accept connections";
    return false;
}
