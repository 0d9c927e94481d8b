// SPDX-License-Identifier: Apache-2.0
// Replays fuzz inputs without libFuzzer: a plain main that hands every file
// named on the command line (a folder stands for the files in it, in name
// order) to the harness's LLVMFuzzerTestOneInput. A regression shows as a
// sanitizer report, an abort or a crash, and the program fails; it also fails
// when it found no input at all, so that a wrong path cannot pass unnoticed.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <system_error>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace fs = std::filesystem;

namespace {

bool collect(const fs::path& arg, std::vector<fs::path>& files) {
    std::error_code ec;
    if (fs::is_directory(arg, ec)) {
        std::vector<fs::path> found;
        for (const fs::directory_entry& e : fs::directory_iterator(arg, ec))
            if (e.is_regular_file()) found.push_back(e.path());
        std::sort(found.begin(), found.end());
        files.insert(files.end(), found.begin(), found.end());
        return !ec;
    }
    if (fs::is_regular_file(arg, ec)) {
        files.push_back(arg);
        return true;
    }
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<fs::path> files;
    for (int i = 1; i < argc; ++i) {
        if (!collect(argv[i], files)) {
            std::fprintf(stderr, "replay: cannot read %s\n", argv[i]);
            return 2;
        }
    }
    if (files.empty()) {
        std::fprintf(stderr, "replay: no inputs (usage: %s <file or folder>...)\n", argv[0]);
        return 2;
    }
    for (const fs::path& file : files) {
        std::ifstream in(file, std::ios::binary);
        if (!in) {
            std::fprintf(stderr, "replay: cannot read %s\n", file.c_str());
            return 2;
        }
        const std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        // Announced before the call, so that a crash names its input.
        std::printf("replay: %s (%zu bytes)\n", file.c_str(), bytes.size());
        std::fflush(stdout);
        // A buffer of exactly the input's size (never null, as under the
        // fuzzer), so that a read past the end reaches the sanitizer's redzone.
        const std::unique_ptr<std::uint8_t[]> data(new std::uint8_t[bytes.size()]);
        std::copy(bytes.begin(), bytes.end(), data.get());
        LLVMFuzzerTestOneInput(data.get(), bytes.size());
    }
    std::printf("replay: %zu inputs passed\n", files.size());
    return 0;
}
