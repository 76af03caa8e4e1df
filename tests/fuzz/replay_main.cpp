// Replays kept fuzz inputs through one harness's entry point, natively and
// under the project's sanitizers. Every argument after GoogleTest's own is a
// directory of inputs (or one input file); each must hold at least one.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

std::vector<std::string> g_inputs;

std::vector<std::filesystem::path> FilesOf(const std::filesystem::path& where) {
    std::vector<std::filesystem::path> files;
    if (std::filesystem::is_regular_file(where)) {
        files.push_back(where);
    } else if (std::filesystem::is_directory(where)) {
        for (const auto& entry : std::filesystem::directory_iterator(where))
            if (entry.is_regular_file()) files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    return files;
}

TEST(FuzzReplay, EveryKeptInputPasses) {
    ASSERT_FALSE(g_inputs.empty()) << "no input directories given";
    for (const auto& where : g_inputs) {
        const auto files = FilesOf(where);
        EXPECT_FALSE(files.empty()) << where << " holds no inputs";
        for (const auto& file : files) {
            std::ifstream in(file, std::ios::binary);
            ASSERT_TRUE(in) << file;
            const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                                                  std::istreambuf_iterator<char>());
            // A sanitizer or a harness check ends the process; the last name
            // printed is the input that did it.
            std::printf("replay %s (%zu bytes)\n", file.string().c_str(), bytes.size());
            std::fflush(stdout);
            EXPECT_EQ(LLVMFuzzerTestOneInput(bytes.data(), bytes.size()), 0) << file;
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    for (int i = 1; i < argc; ++i) g_inputs.emplace_back(argv[i]);
    return RUN_ALL_TESTS();
}
