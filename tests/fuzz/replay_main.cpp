// Runs a fuzz target without libFuzzer: the seeds, any files named on the command line, then
// random mutations of the seeds until the time or iteration budget is spent. Mutations come from
// a seeded generator, so a failure is reproduced by running again with the printed seed.
//
//   replay [--seconds S] [--iterations N] [--seed X] [--write-corpus DIR] [FILE...]
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "fuzz_target.h"

namespace {

struct Options {
    double seconds = 3;
    long iterations = -1;  // no limit but time
    unsigned seed = 20260101;
    std::string corpusOut;
    std::vector<std::string> files;
};

Options parseOptions(int argc, char** argv) {
    Options o;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        const bool hasValue = i + 1 < argc;
        if (a == "--seconds" && hasValue)
            o.seconds = std::atof(argv[++i]);
        else if (a == "--iterations" && hasValue)
            o.iterations = std::atol(argv[++i]);
        else if (a == "--seed" && hasValue)
            o.seed = static_cast<unsigned>(std::strtoul(argv[++i], nullptr, 10));
        else if (a == "--write-corpus" && hasValue)
            o.corpusOut = argv[++i];
        else
            o.files.push_back(a);
    }
    return o;
}

void run(const FuzzInput& input) {
    LLVMFuzzerTestOneInput(input.data(), input.size());
}

FuzzInput mutate(FuzzInput b, const std::vector<FuzzInput>& seeds, std::mt19937& rng) {
    auto pick = [&](std::size_t n) {
        return n == 0 ? 0 : std::uniform_int_distribution<std::size_t>(0, n - 1)(rng);
    };
    static constexpr std::uint32_t kInteresting[] = {
        0,      1,       0x7F,       0x80,       0xFF,       0x100, 0x7FFF, 0x8000,
        0xFFFF, 0x10000, 0x7FFFFFFF, 0x80000000, 0xFFFFFFFF, 16384, 16385};
    const int steps = 1 + static_cast<int>(pick(6));
    for (int s = 0; s < steps; ++s) {
        switch (pick(8)) {
            case 0:  // flip a bit
                if (!b.empty()) b[pick(b.size())] ^= static_cast<std::uint8_t>(1u << pick(8));
                break;
            case 1:  // random byte
                if (!b.empty()) b[pick(b.size())] = static_cast<std::uint8_t>(rng());
                break;
            case 2: {  // an interesting 1, 2 or 4 byte value, either byte order
                const std::uint32_t v = kInteresting[pick(std::size(kInteresting))];
                const std::size_t width = std::size_t{1} << pick(3);
                if (b.size() < width) break;
                const std::size_t at = pick(b.size() - width + 1);
                const bool big = pick(2) == 1;
                for (std::size_t i = 0; i < width; ++i)
                    b[at + i] = static_cast<std::uint8_t>(v >> (8 * (big ? width - 1 - i : i)));
                break;
            }
            case 3:  // cut the end off
                b.resize(pick(b.size() + 1));
                break;
            case 4: {  // erase a range
                if (b.empty()) break;
                const std::size_t at = pick(b.size());
                b.erase(b.begin() + at,
                        b.begin() + at + pick(std::min<std::size_t>(b.size() - at, 64) + 1));
                break;
            }
            case 5: {  // insert random bytes
                const std::size_t at = pick(b.size() + 1);
                FuzzInput extra(pick(32) + 1);
                for (auto& x : extra) x = static_cast<std::uint8_t>(rng());
                b.insert(b.begin() + at, extra.begin(), extra.end());
                break;
            }
            case 6: {  // duplicate a range
                if (b.empty() || b.size() > 1 << 16) break;
                const std::size_t at = pick(b.size());
                const std::size_t n = pick(std::min<std::size_t>(b.size() - at, 256)) + 1;
                const FuzzInput part(b.begin() + at, b.begin() + at + n);
                b.insert(b.begin() + pick(b.size() + 1), part.begin(), part.end());
                break;
            }
            default: {  // splice with the tail of another seed
                const FuzzInput& other = seeds[pick(seeds.size())];
                if (other.empty()) break;
                const std::size_t at = pick(b.size() + 1);
                b.resize(at);
                b.insert(b.end(), other.begin() + pick(other.size()), other.end());
                break;
            }
        }
    }
    if (pick(4) != 0) fuzzFixup(b);
    return b;
}

}  // namespace

int main(int argc, char** argv) {
    const Options o = parseOptions(argc, argv);
    const std::vector<FuzzInput> seeds = fuzzSeeds();

    if (!o.corpusOut.empty()) {
        std::filesystem::create_directories(o.corpusOut);
        for (std::size_t i = 0; i < seeds.size(); ++i) {
            std::ofstream f(o.corpusOut + "/seed" + std::to_string(i), std::ios::binary);
            f.write(reinterpret_cast<const char*>(seeds[i].data()),
                    static_cast<std::streamsize>(seeds[i].size()));
        }
        return 0;
    }

    for (const FuzzInput& s : seeds) run(s);
    for (const std::string& name : o.files) {
        std::ifstream f(name, std::ios::binary);
        run(FuzzInput(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()));
    }

    std::mt19937 rng(o.seed);
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::duration<double>(o.seconds);
    FuzzInput previous = seeds.empty() ? FuzzInput{} : seeds.front();
    long done = 0;
    while ((o.iterations < 0 || done < o.iterations) &&
           std::chrono::steady_clock::now() < deadline) {
        // Mostly fresh mutations of a seed, sometimes a further mutation of the last input.
        const FuzzInput& base = (rng() % 4 == 0) ? previous : seeds[rng() % seeds.size()];
        previous = mutate(base, seeds, rng);
        run(previous);
        ++done;
    }
    std::printf("%zu seeds and %ld mutations (seed %u) ran clean\n", seeds.size(), done, o.seed);
    return 0;
}
