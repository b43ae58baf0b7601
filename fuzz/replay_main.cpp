// Feeds every file of the given directories (and any files named directly) to the fuzz target
// once, in name order, so that a plain build replays the corpus as a test. Where the system can
// fork, each input runs in a child process: a failed check aborts it, and the rest still run, so
// one test run names every input that fails. Elsewhere the inputs run in this process and the
// first failed check ends the run.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#if defined(__unix__) || defined(__APPLE__)
#define REPLAY_IN_CHILD 1
#include <sys/wait.h>
#include <unistd.h>
#endif

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size);

namespace fs = std::filesystem;

namespace
{

// True when the input ran to its end.
bool replay(const fs::path &input)
{
    std::ifstream file(input, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    if (file.bad()) {
        std::fprintf(stderr, "cannot read %s\n", input.string().c_str());
        return false;
    }
#ifndef REPLAY_IN_CHILD
    LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t *>(bytes.data()), bytes.size());
    return true;
#else
    std::fflush(nullptr);
    const pid_t child = fork();
    if (child < 0) {
        std::perror("fork");
        return false;
    }
    if (child == 0) {
        LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t *>(bytes.data()), bytes.size());
        std::fflush(nullptr);
        _exit(0);
    }
    int status = 0;
    if (waitpid(child, &status, 0) != child)
        return false;
    if (WIFEXITED(status) && WEXITSTATUS(status) == 0)
        return true;
    if (WIFSIGNALED(status))
        std::fprintf(stderr, "FAILED %s (%zu bytes): signal %d\n", input.string().c_str(), bytes.size(),
                     WTERMSIG(status));
    else
        std::fprintf(stderr, "FAILED %s (%zu bytes): exit status %d\n", input.string().c_str(), bytes.size(),
                     WEXITSTATUS(status));
    return false;
#endif
}

} // namespace

int main(int argc, char **argv)
{
    std::vector<fs::path> inputs;
    for (int i = 1; i < argc; ++i) {
        const fs::path arg(argv[i]);
        if (fs::is_directory(arg)) {
            for (const fs::directory_entry &entry : fs::directory_iterator(arg)) {
                if (entry.is_regular_file())
                    inputs.push_back(entry.path());
            }
        } else if (fs::is_regular_file(arg)) {
            inputs.push_back(arg);
        } else {
            std::fprintf(stderr, "no such file or directory: %s\n", argv[i]);
            return 2;
        }
    }
    if (inputs.empty()) {
        // A wrong path must not pass as an empty corpus.
        std::fprintf(stderr, "usage: %s DIR|FILE... (no inputs found)\n", argv[0]);
        return 2;
    }
    std::sort(inputs.begin(), inputs.end());
    size_t failed = 0;
    for (const fs::path &input : inputs) {
        if (!replay(input))
            ++failed;
    }
    std::printf("%zu inputs replayed, %zu failed\n", inputs.size(), failed);
    return failed == 0 ? 0 : 1;
}
