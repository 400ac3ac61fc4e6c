// SPDX-License-Identifier: MIT
// Times a diagnostics pass of enumgen --lsp: the editor sends the whole text
// of a changed enum list, and the server reads and checks it and frames the
// diagnostics. Lists of 2,500 to 20,000 lines, as enum-bench writes them,
// with a duplicate key in every 50th item, so there are diagnostics to send.
#include <benchmark/benchmark.h>

#include <nlohmann/json.hpp>
#include <string>

#include "enum-lsp.h"
#include "lsp-messages.h"

namespace {

using json = nlohmann::json;

std::string enumList(std::int64_t lines) {
    std::string list;
    for (std::int64_t line = 0, e = 0; line < lines; ++e) {
        const std::string name = "Enum" + std::to_string(e);
        list += "+" + name + "[[enum-" + std::to_string(e) + "]][-Description of " + name + "-]" +
                (e % 4 == 3 ? "[~" + name + "Flags~]" : "") + "\n";
        for (int i = 0; i < 49 && ++line < lines; ++i) {
            list += "-Item" + std::to_string(i) + "[[item-" + std::to_string(i % 49 == 48 ? 0 : i) + "]][-Item " +
                    std::to_string(i) + " of " + name + "-]" + (i == 0 && e % 4 == 3 ? "[=1 << 0=]" : "") + "\n";
        }
        ++line;
    }
    return list;
}

void DiagnosticsPass(benchmark::State& state) {
    const std::string uri = "file:///project/app.enums";
    const std::string list = enumList(state.range(0));
    LspServer server;
    LspOutput output;
    server.input = framed(R"({"jsonrpc":"2.0","id":1,"method":"initialize","params":{"capabilities":{}}})") +
                   framed(json{{"jsonrpc", "2.0"},
                               {"method", "textDocument/didOpen"},
                               {"params", {{"textDocument", {{"uri", uri}, {"version", 1}, {"text", list}}}}}}
                              .dump());
    handleInput(&server, &output);
    const std::string change = framed(
        json{{"jsonrpc", "2.0"},
             {"method", "textDocument/didChange"},
             {"params", {{"textDocument", {{"uri", uri}, {"version", 2}}}, {"contentChanges", {{{"text", list}}}}}}}
            .dump());
    for (auto _ : state) {
        server.input = change;
        output = {};
        handleInput(&server, &output);
        benchmark::DoNotOptimize(output.messages.data());
    }
    state.SetComplexityN(state.range(0));
    state.counters["diagnostics"] = static_cast<double>(server.documents[uri].analysis.messages.size());
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * change.size()));
}

}  // namespace

BENCHMARK(DiagnosticsPass)
    ->Arg(2500)
    ->Arg(5000)
    ->Arg(10000)
    ->Arg(20000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);
BENCHMARK_MAIN();
