#pragma once
// What each fuzz target provides. The same target file builds into a libFuzzer binary (clang,
// TORCHWHEEL_FUZZ) or into a replayer that runs the seeds and random mutations of them for a
// bounded time, so that every test run exercises the decoders with hostile input.
#include <cstddef>
#include <cstdint>
#include <vector>

using FuzzInput = std::vector<std::uint8_t>;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

// Small valid inputs of every kind the target understands.
std::vector<FuzzInput> fuzzSeeds();

// Repairs what a mutation breaks but the format guards with checksums (PNG chunk CRCs), so that
// mutations reach the code behind them. Nothing for most formats.
void fuzzFixup(FuzzInput& input);

// Stops the process when a decoder breaks a promise; the fuzzer reports the input.
void fuzzCheck(bool condition, const char* what);
