// The path file and the profile search. The first byte chooses which of the
// test-opened paths open (bit n for the n-th try) and, in its top bit,
// whether there is a path file; the rest is the path file's bytes.
#include <cstddef>
#include <cstdint>
#include <optional>

#include "files.h"
#include "fuzz_input.h"
#include "profile_search.h"

namespace {

// One try with the path file below each of its two sub-directories, one
// in the sensor directory, one in the working directory, three fixed ones.
constexpr std::size_t maxTries = 7;

void check_directory(const std::string& contents) {
    const std::string directory = path_file_directory(contents);
    require(directory.size() <= pathFileLineWidth, "a path file line is read up to 99 characters");
    require(directory.find('\n') == std::string::npos, "the directory holds no line feed");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const unsigned choice = data[0];
    const std::string raw = input_text(data + 1, size - 1);
    const std::string contents = text_mode_contents(raw);
    check_directory(raw);
    check_directory(contents);

    std::optional<std::string> pathFile;
    if (choice & 0x80) pathFile = contents;
    std::size_t calls = 0;
    std::vector<bool> answers;
    auto opens = [&](const std::string&) {
        const bool opened = calls < maxTries && ((choice >> calls) & 1) != 0;
        ++calls;
        answers.push_back(opened);
        return opened;
    };
    const std::string profileName = "PRD.P00";
    const ProfileSearch search = search_profile(profileName, pathFile, opens);
    require(search.tried.size() == calls, "every test-opened path is listed");
    require(calls <= maxTries, "the search tries at most seven paths");
    if (search.found) {
        require(answers.back(), "a found profile is the last path that opened");
        require(search.tried.back() == search.sensorDirectory + profileName,
                "the profile lies in the sensor directory");
    }
    return 0;
}
