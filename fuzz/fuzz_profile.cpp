// Arbitrary bytes as ts.ini, in memory: the section list, value reads, and the profile writer,
// whose every write must read back while leaving every other entry as it was. fuzz_datafiles
// takes the same road through files, with the slot table's finder, fill and release.

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "profilechecks.h"

using namespace profilechecks;

// Inputs of at most a kilobyte unless -max_len says otherwise. The profile is read line by line,
// and a kilobyte holds every form of line with several sections and repeated names, while each
// line costs a run a few allocations (each one slow under the address sanitizer): with the
// four-kilobyte inputs libFuzzer allows by default a run takes twice as long.
extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    static std::vector<char*> args(*argv, *argv + *argc);
    static char maxLen[] = "-max_len=1024";
    const bool given = std::any_of(args.begin(), args.end(), [](const char* arg) {
        return std::strncmp(arg, "-max_len=", 9) == 0;
    });
    if (given || args.empty()) return 0;
    args.insert(args.begin() + 1, maxLen);
    *argc = int(args.size());
    args.push_back(nullptr);
    *argv = args.data();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const QStringList names = profileSectionNames(bytes);
    const Profile profile(bytes);
    checkReads(bytes, profile, names);
    const QList<Entry> entries = entriesToWrite(bytes, names);
    Profile changed = profile;
    for (const Entry& e : entries) changed.setString(e.section, e.key, e.value);
    checkWritten(profile, changed.bytes(), names, entries);
    return 0;
}
