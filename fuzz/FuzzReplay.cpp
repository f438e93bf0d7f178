// Stand-in for libFuzzer's main where there is none: runs the target once on every file of the
// folders (or on the files) named on the command line. Fails when a file cannot be read or when
// there was nothing to run.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerInitialize(int* pi_Argc, char*** pppc_Argv);
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pc_Data, std::size_t n_Size);

namespace
{
bool b_Replay(const std::filesystem::path& co_File)
{
    std::ifstream co_Stream(co_File, std::ios::binary);
    if (!co_Stream)
    {
        std::fprintf(stderr, "cannot read %s\n", co_File.string().c_str());
        return false;
    }
    const std::vector<std::uint8_t> a_Input{std::istreambuf_iterator<char>(co_Stream),
                                            std::istreambuf_iterator<char>()};
    LLVMFuzzerTestOneInput(a_Input.data(), a_Input.size());
    return true;
}
} // namespace

int main(int i_Argc, char** ppc_Argv)
{
    LLVMFuzzerInitialize(&i_Argc, &ppc_Argv);
    std::vector<std::filesystem::path> a_Files;
    for (int i = 1; i < i_Argc; ++i)
    {
        const std::filesystem::path co_Path(ppc_Argv[i]);
        if (!std::filesystem::is_directory(co_Path))
            a_Files.push_back(co_Path);
        else
            for (const auto& co_Entry : std::filesystem::directory_iterator(co_Path))
                if (co_Entry.is_regular_file())
                    a_Files.push_back(co_Entry.path());
    }
    for (const auto& co_File : a_Files)
        if (!b_Replay(co_File))
            return 1;
    std::printf("%zu inputs replayed\n", a_Files.size());
    return a_Files.empty() ? 1 : 0;
}
