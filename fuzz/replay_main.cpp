// A plain driver for the fuzz targets, for compilers without libFuzzer: runs
// the target over every file of a corpus folder, then over a fixed number of
// mutations of them made with a fixed seed, so that every run is the same.
// Before each mutated input runs it is written to <name>.last, which then
// reproduces a crash.
//
//   replay_<target> <corpus folder> [mutations]
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void writeFile(const std::string& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

Bytes mutate(Bytes input, const std::vector<Bytes>& corpus, std::mt19937& rng) {
    const auto pick = [&rng](std::size_t n) { return std::uniform_int_distribution<std::size_t>(0, n - 1)(rng); };
    const int edits = 1 + static_cast<int>(pick(4));
    for (int e = 0; e < edits; ++e) {
        switch (pick(5)) {
            case 0:  // flip a bit
                if (!input.empty()) {
                    input[pick(input.size())] ^= static_cast<std::uint8_t>(1u << pick(8));
                }
                break;
            case 1:  // set a byte to an extreme
                if (!input.empty()) {
                    const std::uint8_t extremes[] = {0, 1, 0x7F, 0x80, 0xFE, 0xFF};
                    input[pick(input.size())] = extremes[pick(sizeof extremes)];
                }
                break;
            case 2:  // insert random bytes
                for (std::size_t n = 1 + pick(8); n > 0; --n) {
                    input.insert(input.begin() + static_cast<std::ptrdiff_t>(pick(input.size() + 1)),
                                 static_cast<std::uint8_t>(pick(256)));
                }
                break;
            case 3:  // cut a piece out
                if (!input.empty()) {
                    const std::size_t at = pick(input.size());
                    const std::size_t len = std::min(input.size() - at, 1 + pick(16));
                    input.erase(input.begin() + static_cast<std::ptrdiff_t>(at),
                                input.begin() + static_cast<std::ptrdiff_t>(at + len));
                }
                break;
            default: {  // splice in a piece of another input
                const Bytes& other = corpus[pick(corpus.size())];
                if (!other.empty()) {
                    const std::size_t from = pick(other.size());
                    const std::size_t len = std::min(other.size() - from, 1 + pick(32));
                    input.insert(input.begin() + static_cast<std::ptrdiff_t>(pick(input.size() + 1)),
                                 other.begin() + static_cast<std::ptrdiff_t>(from),
                                 other.begin() + static_cast<std::ptrdiff_t>(from + len));
                }
                break;
            }
        }
    }
    return input;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <corpus folder> [mutations]\n", argv[0]);
        return 2;
    }
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(argv[1])) {
        if (entry.is_regular_file()) {
            files.push_back(entry.path());
        }
    }
    std::sort(files.begin(), files.end());
    if (files.empty()) {
        std::fprintf(stderr, "%s: no inputs\n", argv[1]);
        return 2;
    }
    const long mutations = argc > 2 ? std::strtol(argv[2], nullptr, 10) : 0;

    std::vector<Bytes> corpus;
    for (const auto& path : files) {
        corpus.push_back(readFile(path));
        (void)LLVMFuzzerTestOneInput(corpus.back().data(), corpus.back().size());
    }
    const std::string last = std::filesystem::path(argv[0]).filename().string() + ".last";
    std::mt19937 rng(20261208u);
    for (long i = 0; i < mutations; ++i) {
        const Bytes input = mutate(corpus[static_cast<std::size_t>(i) % corpus.size()], corpus, rng);
        writeFile(last, input);
        (void)LLVMFuzzerTestOneInput(input.data(), input.size());
    }
    std::filesystem::remove(last);
    std::printf("%zu corpus inputs and %ld mutations ran clean\n", corpus.size(), mutations);
    return 0;
}
