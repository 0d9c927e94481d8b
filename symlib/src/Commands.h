// SPDX-License-Identifier: Apache-2.0
// symlib's subcommands. Each answers the exit status: 0 done, 1 when the
// library, a symbol or a file cannot be had (the reason on standard error).
#ifndef SYMLIB_COMMANDS_H
#define SYMLIB_COMMANDS_H

#include "Library.h"

#include <ostream>
#include <string>

namespace symlib {

struct RenderRequest {
    int lib = 0, id = 0;
    std::string output;  // empty: standard output; *.png: a PNG picture
    int size = 0;
    bool points = false;
    std::string background;  // "" or #rrggbb / #rrggbbaa
};

int Tags(Library& library, std::ostream& out, std::ostream& err);
int Tree(Library& library, int lib, std::ostream& out, std::ostream& err);
int Find(Library& library, const std::string& text, int lib, std::ostream& out, std::ostream& err);
int Show(Library& library, int lib, int id, bool json, std::ostream& out, std::ostream& err);
int Render(Library& library, const RenderRequest& request, std::ostream& out, std::ostream& err);
int Catalogue(Library& library, const std::string& dir, int lib, std::ostream& out, std::ostream& err);
int Export(Library& library, int lib, const std::string& output, std::ostream& out, std::ostream& err);

// Parses #rrggbb or #rrggbbaa; false when the text is neither.
bool ParseColor(const std::string& text, std::uint8_t rgba[4]);

}  // namespace symlib

#endif
