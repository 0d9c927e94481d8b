// SPDX-License-Identifier: Apache-2.0
// Throughput of the text conversions on a realistic situation text: Chinese
// layer and symbol names mixed with ASCII markup and numbers.
#include <geomkit/UtilityFunctions.h>

#include <benchmark/benchmark.h>

#include <clocale>
#include <cstdlib>
#include <string>

using U = HQ::CHQGS_UtilityFunctions;

namespace {

constexpr std::size_t kTextBytes = 64 * 1024;  // about one situation document

// UTF-8 sample: roughly half of the bytes are Chinese (3 bytes each).
std::string MixedUtf8Text() {
    const std::string line =
        "<SYMBOL "
        "NAME=\"\xE7\xAC\xAC\xE4\xB8\x80\xE9\x98\xB6\xE6\xAE\xB5\xE8\xBF\x9B\xE6\x94\xBB\xE8\xB7\xAF\xE7"
        "\xBA\xBF\" CODE=\"10231\" COLOR=\"#FF3300\" "
        "LAYER=\"\xE6\x80\x81\xE5\x8A\xBF\xE5\x9B\xBE\xE5\xB1\x82 2\" "
        "WIDTH=\"2.5\">\xE7\xBA\xA2\xE6\x96\xB9\xE9\x83\xA8\xE9\x98\x9F\xE9\x9B\x86\xE7\xBB\x93\xE5\x9C\xB0</"
        "SYMBOL>\n";
    std::string text;
    while (text.size() + line.size() <= kTextBytes) text += line;
    return text;
}

// The process must run in the GBK code page for the ANSI conversions.
void UseGbkLocale() {
    setenv("LC_ALL", "zh_CN.GBK", 1);
    std::setlocale(LC_ALL, "zh_CN.GBK");
}

void BM_UTF8ToUnicode(benchmark::State& state) {
    const std::string text = MixedUtf8Text();
    for (auto _ : state) benchmark::DoNotOptimize(U::UTF8ToUnicode(text));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_UTF8ToUnicode);

void BM_UnicodeToUTF8(benchmark::State& state) {
    const std::wstring wide = U::UTF8ToUnicode(MixedUtf8Text());
    const std::size_t outBytes = U::UnicodeToUTF8(wide).size();
    for (auto _ : state) benchmark::DoNotOptimize(U::UnicodeToUTF8(wide));
    // Measured in UTF-8 bytes produced, comparable with the decoder.
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(outBytes));
}
BENCHMARK(BM_UnicodeToUTF8);

void BM_UTF8ToANSI(benchmark::State& state) {
    UseGbkLocale();
    const std::string text = MixedUtf8Text();
    if (U::UTF8ToANSI(text).empty()) {
        state.SkipWithError("zh_CN.GBK is not available");
        return;
    }
    for (auto _ : state) benchmark::DoNotOptimize(U::UTF8ToANSI(text));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_UTF8ToANSI);

void BM_ANSIToUTF8(benchmark::State& state) {
    UseGbkLocale();
    const std::string ansi = U::UTF8ToANSI(MixedUtf8Text());
    if (ansi.empty()) {
        state.SkipWithError("zh_CN.GBK is not available");
        return;
    }
    for (auto _ : state) benchmark::DoNotOptimize(U::ANSIToUTF8(ansi));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(ansi.size()));
}
BENCHMARK(BM_ANSIToUTF8);

}  // namespace
