// Feeds every file of the directories (or the files) given on the command line through the fuzz
// entry point, in name order: the regression test of a fuzz target, for any compiler.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size);

namespace fs = std::filesystem;

namespace {
std::vector<fs::path> inputsOf(const fs::path &arg)
{
    std::vector<fs::path> files;
    std::error_code ec;
    if (fs::is_regular_file(arg, ec)) {
        files.push_back(arg);
    } else if (fs::is_directory(arg, ec)) {
        for (const fs::directory_entry &e : fs::directory_iterator(arg, ec)) {
            if (e.is_regular_file(ec))
                files.push_back(e.path());
        }
        std::sort(files.begin(), files.end());
    }
    return files;
}
} // namespace

int main(int argc, char **argv)
{
    int count = 0;
    for (int a = 1; a < argc; ++a) {
        for (const fs::path &file : inputsOf(argv[a])) {
            std::ifstream in(file, std::ios::binary);
            if (!in) {
                std::fprintf(stderr, "Cannot read %s\n", file.string().c_str());
                return 1;
            }
            const std::string bytes {std::istreambuf_iterator<char>(in),
                                     std::istreambuf_iterator<char>()};
            // Copied from a sized range, the vector holds no spare capacity: a read past the
            // end is one for the sanitizers.
            const std::vector<uint8_t> exact(bytes.begin(), bytes.end());
            std::fprintf(stderr, "%s\n", file.string().c_str());
            LLVMFuzzerTestOneInput(exact.data(), exact.size());
            ++count;
        }
    }
    std::printf("%d inputs replayed\n", count);
    return count > 0 ? 0 : 1;
}
