// The "new version" that the end-to-end update test packs under the client's
// name. It records in ran.txt, beside itself, that it started; then it waits
// (at most a minute) for the test to create "go" and records that it was still
// alive, so an update that ends the new copy instead of the old one shows.

#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

int main() {
    const std::filesystem::path folder =
        std::filesystem::read_symlink("/proc/self/exe").parent_path();
    std::ofstream(folder / "ran.txt", std::ios::app) << "started\n";
    for (int i = 0; i < 600 && !std::filesystem::exists(folder / "go"); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    std::ofstream(folder / "ran.txt", std::ios::app) << "finished\n";
    return 0;
}
