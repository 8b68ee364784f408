// Writes the benchmarks' generated Russian/English sample text as a UTF-8 file with CR LF breaks, cut
// at a line end at about the size asked for: the input of the command-line benchmarks.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "core/encoding.h"
#include "sample_text.h"

int main(int argc, char** argv) {
    const size_t megabytes = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 16;
    const size_t size = megabytes * vernalith::bench::kMB;
    // Every character takes one or two UTF-8 bytes: as many code units as bytes wanted is enough.
    std::string bytes = vernalith::EncodeUtf8(vernalith::bench::SampleText(size * 2));
    if (bytes.size() > size) bytes.resize(bytes.rfind("\r\n", size) + 2);
    return std::fwrite(bytes.data(), 1, bytes.size(), stdout) == bytes.size() ? 0 : 1;
}
