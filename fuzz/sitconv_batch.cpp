// SPDX-License-Identifier: Apache-2.0
// The converter's batch over a generated source tree. The input drives a
// small tree in a scratch folder: files with generated names (any byte but
// '/' and NUL) and contents, subfolders, symbolic links that loop back to a
// folder above, dangling links, links to files and named pipes (which the
// batch must report and skip, never open and block on). The batch then runs with that
// source and an output folder beside it or inside it. It must end with
// status 0 or 1 and leave no temporary output behind; the scratch folder
// is removed after every input.
#include <sitconv/Batch.h>
#include <sitconv/MarkTypeSource.h>

#include "FuzzInput.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

void require(bool condition, const char* what) { FuzzRequire(condition, "sitconv_batch", what); }

class AlternatingMarks : public HQ::MarkTypeSource {
public:
    void beginDocument() override {}
    int markType(int libId, int code) override { return (libId ^ code) & 1; }
};

struct Scratch {
    const fs::path base = fs::temp_directory_path() / ("fuzz_sitconv_batch_" + std::to_string(::getpid()));
    void clear() const {
        std::error_code ec;
        fs::remove_all(base, ec);  // links are removed, never followed
    }
    ~Scratch() { clear(); }
};

// A file name from the input: '/' and NUL become '_', and the names of the
// folder itself and its parent are avoided.
std::string entryName(FuzzInput& in) {
    std::string name = in.text(24);
    for (char& c : name)
        if (c == '/' || c == '\0') c = '_';
    if (name.empty() || name == "." || name == "..") name = "f" + name;
    return name;
}

// The entries under base named like the batch's temporary outputs
// (".sitconv-*.tmp").
std::set<fs::path> temporaries(const fs::path& base) {
    std::set<fs::path> found;
    std::error_code ec;
    for (fs::recursive_directory_iterator it(base, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.rfind(".sitconv-", 0) == 0 && name.size() > 4 && name.substr(name.size() - 4) == ".tmp")
            found.insert(it->path());
    }
    return found;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const Scratch scratch;
    scratch.clear();
    const fs::path source = scratch.base / "source";
    std::error_code ec;
    fs::create_directories(source, ec);
    require(!ec, "cannot make the scratch folder");

    FuzzInput in(data, size);
    HQ::BatchOptions options;
    options.source = source.string();
    options.outputFolder = (in.flag() ? source / "out" : scratch.base / "out").string();
    options.formats = 1 + static_cast<int>(in.below(3));
    options.quiet = in.flag();

    std::vector<fs::path> folders{source};
    for (int entries = 0; entries < 24 && !in.empty(); ++entries) {
        const fs::path at = folders[in.below(static_cast<unsigned>(folders.size()))];
        const unsigned op = in.byte() % 8;
        const fs::path path = at / entryName(in);
        if (fs::exists(fs::symlink_status(path, ec))) continue;
        switch (op) {
            case 0:
                fs::create_directory(path, ec);
                if (!ec) folders.push_back(path);
                break;
            case 1:  // a link back to this folder, its parent or the source
                fs::create_directory_symlink(in.flag() ? "." : in.flag() ? ".." : source.string(), path, ec);
                break;
            case 2:  // a dangling link
                fs::create_symlink("missing-" + std::to_string(entries), path, ec);
                break;
            case 3:  // a link to a file made before (perhaps none)
                fs::create_symlink(at / "0.xml", path, ec);
                break;
            case 4:
                ::mkfifo(path.c_str(), 0600);
                break;
            default: {
                std::ofstream out(path, std::ios::binary);
                out << in.text(op == 7 ? 60000 : 2000);
            }
        }
    }

    // The input may itself name an entry like a temporary output; only those
    // that the batch leaves behind count.
    const std::set<fs::path> before = temporaries(scratch.base);
    AlternatingMarks marks;
    std::ostringstream errors;
    const int status = HQ::runBatch(options, errors, &marks);
    require(status == 0 || status == 1, "the batch answered a status other than 0 or 1");

    // Every output is whole or absent: no temporary file stays behind.
    for (const fs::path& path : temporaries(scratch.base))
        require(before.count(path) != 0, "a temporary output was left behind");
    scratch.clear();
    return 0;
}
