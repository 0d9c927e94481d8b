// SPDX-License-Identifier: Apache-2.0
// symlib: browse, search, render and publish a symbol library.
//
// Exit status: 0 done, 1 when the library cannot be opened or a library or
// symbol is missing (one line on standard error), 2 for a usage error.
#include "src/Commands.h"
#include "src/Library.h"

#include <markstore/SymbolSvg.h>

#include <CLI/CLI.hpp>

#include <cstdlib>
#include <fstream>
#include <iostream>

#ifndef SYMLIB_VERSION
#define SYMLIB_VERSION "unknown"
#endif

namespace {

constexpr int kUsage = 2;

// Command-line texts arrive in the terminal's code page; the library stores
// UTF-8.
std::string ArgumentText(const std::string& text) {
    return HQ::SymbolTextToUtf8(text, HQ::SymbolTextEncoding::LocalCodePage);
}

bool ReadPassword(const std::string& path, std::string* password, std::string* why) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        *why = "cannot read the password file " + path;
        return false;
    }
    std::getline(file, *password);
    if (!password->empty() && password->back() == '\r') password->pop_back();
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    CLI::App app{
        "symlib: browse, search, render and publish a symbol library.\n"
        "The library is a keyed SQLite file (--db) or a MySQL server (--mysql); all output is UTF-8.",
        "symlib"};
    app.set_version_flag("--version", std::string("symlib ") + SYMLIB_VERSION);
    app.require_subcommand(1);
    app.fallthrough();

    symlib::Connection connection;
    std::string passwordFile;
    auto* db = app.add_option("--db", connection.db, "Keyed SQLite library file (the default engine)")
                   ->option_text("FILE");
    auto* mysql = app.add_option("--mysql", connection.mysql, "MySQL server instead of a file")
                      ->option_text("HOST[:PORT]");
    auto* user = app.add_option("--user", connection.user, "MySQL user name")->option_text("NAME");
    auto* database =
        app.add_option("--database", connection.database, "MySQL database name")->option_text("NAME");
    auto* pwfile = app.add_option("--password-file", passwordFile,
                                  "File whose first line is the MySQL password (else $SYMLIB_PASSWORD)")
                       ->option_text("FILE");
    db->excludes(mysql);
    user->needs(mysql);
    database->needs(mysql);
    pwfile->needs(mysql);

    int lib = 0, id = 0;
    std::string text, output;
    bool json = false;
    symlib::RenderRequest render;

    auto* tags = app.add_subcommand("tags", "List the libraries: ID, name, category count, symbol count");
    auto* tree = app.add_subcommand("tree", "Show a library's category tree with symbol counts");
    tree->add_option("LIBID", lib, "Library identifier")->required();
    auto* find = app.add_subcommand("find", "Find symbols whose name contains TEXT (matched literally)");
    find->add_option("TEXT", text, "Text to look for")->required();
    find->add_option("--lib", lib, "Only this library")->option_text("LIBID");
    auto* show = app.add_subcommand("show", "Show a symbol's common attributes and units");
    show->add_option("LIBID", lib, "Library identifier")->required();
    show->add_option("ID", id, "Symbol identifier")->required();
    show->add_flag("--json", json, "Print one JSON object");
    auto* rend = app.add_subcommand("render", "Render a symbol as SVG (or PNG when the output ends in .png)");
    rend->add_option("LIBID", render.lib, "Library identifier")->required();
    rend->add_option("ID", render.id, "Symbol identifier")->required();
    rend->add_option("-o,--output", render.output, "Output file (default: standard output)")
        ->option_text("FILE");
    rend->add_option("--size", render.size, "Larger side of the picture in pixels")
        ->option_text("PX")
        ->check(CLI::Range(1, 16384));
    rend->add_flag("--points", render.points, "Mark every unit's defining points");
    rend->add_option("--background", render.background, "Background colour #rrggbb[aa] (default: none)")
        ->option_text("COLOR")
        ->check([](const std::string& v) {
            std::uint8_t c[4];
            return symlib::ParseColor(v, c) ? std::string() : std::string("not a colour #rrggbb[aa]: ") + v;
        });
    auto* cat = app.add_subcommand("catalogue", "Write a static web catalogue DIR/index.html");
    cat->add_option("-o,--output", output, "Output directory")->option_text("DIR")->required();
    cat->add_option("--lib", lib, "Only this library")->option_text("LIBID");
    auto* exp = app.add_subcommand("export", "Write a library's XML export (UTF-8)");
    exp->add_option("LIBID", lib, "Library identifier")->required();
    exp->add_option("-o,--output", output, "Output file (default: standard output)")->option_text("FILE");

    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp& e) {
        return app.exit(e);
    } catch (const CLI::CallForAllHelp& e) {
        return app.exit(e);
    } catch (const CLI::CallForVersion&) {
        std::cout << "symlib " << SYMLIB_VERSION << "\n";
        return 0;
    } catch (const CLI::ParseError& e) {
        app.exit(e);
        return kUsage;
    }

    if (connection.db.empty() && connection.mysql.empty()) {
        std::cerr << "symlib: give the library with --db FILE or --mysql HOST[:PORT] (see --help)\n";
        return kUsage;
    }
    if (!connection.mysql.empty()) {
        if (connection.user.empty() || connection.database.empty()) {
            std::cerr << "symlib: --mysql needs --user and --database\n";
            return kUsage;
        }
        const std::size_t colon = connection.mysql.rfind(':');
        if (colon != std::string::npos) {
            const std::string port = connection.mysql.substr(colon + 1);
            char* end = nullptr;
            const unsigned long value = std::strtoul(port.c_str(), &end, 10);
            if (port.empty() || *end != '\0' || value == 0 || value > 65535) {
                std::cerr << "symlib: not a port number: " << port << "\n";
                return kUsage;
            }
        }
        std::string why;
        if (!passwordFile.empty()) {
            if (!ReadPassword(passwordFile, &connection.password, &why)) {
                std::cerr << "symlib: " << why << "\n";
                return 1;
            }
        } else if (const char* env = std::getenv("SYMLIB_PASSWORD")) {
            connection.password = env;
        }
    }

    symlib::Library library;
    std::string why;
    if (!library.open(connection, &why)) {
        std::cerr << "symlib: " << why << "\n";
        return 1;
    }
    std::ostream& out = std::cout;
    std::ostream& err = std::cerr;
    if (*tags) return symlib::Tags(library, out, err);
    if (*tree) return symlib::Tree(library, lib, out, err);
    if (*find) return symlib::Find(library, ArgumentText(text), lib, out, err);
    if (*show) return symlib::Show(library, lib, id, json, out, err);
    if (*rend) return symlib::Render(library, render, out, err);
    if (*cat) return symlib::Catalogue(library, output, lib, out, err);
    if (*exp) return symlib::Export(library, lib, output, out, err);
    return kUsage;
}
