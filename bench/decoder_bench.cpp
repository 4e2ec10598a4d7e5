// Benchmarks of decoding runs written as the window's text: terminal
// captures of growing size, read as a log (in the smallest blocks, as a slow
// pipe may give them, or in the blocks of a regular file) or taken from the
// clipboard, and blocks of unknown keys, whose one message per key stresses
// the values and the text. The time per byte should not grow with the
// input.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <utility>

#include "decoding_run.h"
#include "file_bytes.h"
#include "memory_clipboard.h"
#include "output_writer.h"
#include "system_clipboard.h"

namespace {

constexpr std::size_t Kilobyte = 1 << 10;
constexpr std::size_t Megabyte = 1 << 20;

const char WorkedBlock[] = "DIAG <2A4D3263 0=10 1=0 2=0 3=0 11=1A 10=1C 60=3C>\r\nOK\r\n";
const char WorkedReport[] =
    "Diag Command Specification rev.: 1.0\r\n"
    "Call Setup Result code         : No previous call\r\n"
    "Multi-media mode               : Data Only\r\n"
    "DTE-DCE interface mode         : Async data\r\n"
    "TX/RX signal power level, -dBm : 26/28\r\n"
    "Termination Cause              : Carrier Lost\r\n";

// What a terminal shows around modem calls, the report at the very end.
std::string terminalCapture(std::size_t size) {
    static const char Session[] =
        "ATZ\r\nOK\r\nAT&F1E1V1\r\nOK\r\nATDT5551234\r\nCONNECT 33600/ARQ/V34/LAPM/V42BIS\r\n\r\n"
        "login: guest\r\nLast login: Tue Dec  8 00:41:27 on ttyS0\r\n"
        " 00:42:01 up 3 days,  2:14,  1 user,  load average: 0.08, 0.03, 0.01\r\n"
        "+++\r\nOK\r\nATH0\r\nNO CARRIER\r\nDIAG <2A4D3263 >\r\n";
    std::string text;
    text.reserve(size + sizeof Session);
    while (text.size() < size) {
        text += Session;
    }
    return text + WorkedBlock;
}

// Blocks of unknown keys, about size bytes: one message line per key.
std::string unknownKeyBlocks(std::size_t size, std::size_t* keys) {
    const std::string line = "DIAG <2A4D3263 6=1 19=1 28=0 46=FF 5A=1 62=1 7F=1 100=1>\r\n";
    std::string text;
    *keys = 0;
    while (text.size() < size) {
        text += line;
        *keys += 8;
    }
    return text + "OK\r\n";
}

// Inputs are built once per size and kept for the whole program.
const std::string& cachedCapture(std::size_t size) {
    static std::map<std::size_t, std::string> captures;
    auto found = captures.find(size);
    if (found == captures.end()) {
        found = captures.emplace(size, terminalCapture(size)).first;
    }
    return found->second;
}

// The window's text of the last run, as vexa-decode prints it without
// options: the text writer's, written into lastText. Each run empties it
// first and, as the window's message buffer does, it keeps its storage.
std::string lastText;

struct LastText : OutputSink {
    void write(std::string_view bytes) override { lastText.append(bytes.data(), bytes.size()); }
} lastTextSink;

std::unique_ptr<OutputWriter> windowText() {
    lastText.clear();
    TextSettings settings;
    settings.showsReadFailed = true;
    return makeTextWriter(lastTextSink, settings);
}

void decodeLog(const std::string& text, std::size_t blockSize = RunSettings().blockSize) {
    std::FILE* file = fmemopen(const_cast<char*>(text.data()), text.size(), "r");
    RunSettings settings;
    settings.blockSize = blockSize;
    decodeFile(file, settings, *windowText());
    std::fclose(file);
}

bool textIs(const char* expected) {
    return lastText == expected;
}

// 1 kB is the smallest block size, 64 kB the one a regular file is read in.
void BM_DecodeLogCapture(benchmark::State& state, std::size_t blockSize) {
    const std::string& text = cachedCapture(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        decodeLog(text, blockSize);
    }
    if (!textIs(WorkedReport)) {
        state.SkipWithError("wrong report");
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
    state.SetComplexityN(state.range(0));
}
BENCHMARK_CAPTURE(BM_DecodeLogCapture, small_blocks, std::size_t{1024})
    ->RangeMultiplier(8)
    ->Range(64 * Kilobyte, 32 * Megabyte)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);
BENCHMARK_CAPTURE(BM_DecodeLogCapture, blocks, std::size_t{64 * Kilobyte})
    ->RangeMultiplier(8)
    ->Range(64 * Kilobyte, 32 * Megabyte)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

void BM_DecodeClipboardCapture(benchmark::State& state) {
    const std::string& text = cachedCapture(static_cast<std::size_t>(state.range(0)));
    setMemoryClipboard(MemoryClipboardState::HasText, text);
    for (auto _ : state) {
        SystemClipboard clipboard;
        decodeClipboard(clipboard, RunSettings(), *windowText());
    }
    if (!textIs(WorkedReport)) {
        state.SkipWithError("wrong report");
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_DecodeClipboardCapture)
    ->RangeMultiplier(8)
    ->Range(64 * Kilobyte, 32 * Megabyte)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

void BM_DecodeUnknownKeys(benchmark::State& state) {
    std::size_t keys = 0;
    const std::string text =
        unknownKeyBlocks(static_cast<std::size_t>(state.range(0)) * Megabyte, &keys);
    std::size_t lines = 0;
    for (auto _ : state) {
        decodeLog(text);
    }
    for (const char* p = lastText.c_str(); (p = std::strstr(p, "\r\n")) != nullptr; p += 2) {
        ++lines;
    }
    if (lines != keys) {
        state.SkipWithError("a message per unknown key expected");
    }
    state.counters["keys"] = static_cast<double>(keys);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_DecodeUnknownKeys)
    ->RangeMultiplier(2)
    ->Range(1, 8)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

// The text alone: appending n lines must take time linear in n.
void BM_AppendLines(benchmark::State& state) {
    const auto count = static_cast<std::size_t>(state.range(0));
    const LineStyle style;
    for (auto _ : state) {
        lastText.clear();
        for (std::size_t i = 0; i < count; ++i) {
            appendTextLine(style, "unrecognized key ffffffff!", lastText);
        }
        benchmark::DoNotOptimize(lastText.data());
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * count));
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_AppendLines)
    ->RangeMultiplier(4)
    ->Range(1 << 14, 1 << 20)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

}  // namespace

BENCHMARK_MAIN();
