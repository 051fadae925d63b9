// Fuzz target for the PE version reader: any bytes as a program image, and as a version block.
// Built with clang as a libFuzzer target (-fsanitize=fuzzer,address,undefined); with other
// compilers as a replay program that runs the files given as arguments under the sanitizers.
#include "platform/PeVersion.h"

#include <cstdint>
#include <cstdio>
#include <vector>

namespace {

void queryEverything(const QByteArray& block) {
    static const char* const items[] = {
        "CompanyName",    "FileDescription", "FileVersion",      "InternalName",
        "LegalCopyright", "LegalTrademarks", "OriginalFilename", "PrivateBuild",
        "ProductName",    "ProductVersion",  "SpecialBuild",
    };
    vastel::versionQueryValue(block, QStringLiteral("\\VarFileInfo\\Translation"));
    vastel::versionQueryValue(block, QStringLiteral("\\"));
    for (const char* item : items)
        vastel::versionQueryString(
            block, QStringLiteral("\\StringFileInfo\\040904b0\\") + QLatin1String(item));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // Raw data without a copy: a read past the input is a read past the fuzzer's buffer.
    const QByteArray input =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    if (const std::optional<QByteArray> block = vastel::versionInfoFromImage(input)) {
        // An exactly sized copy, so that the sanitizer sees the block's end.
        const std::vector<char> exact(block->begin(), block->end());
        queryEverything(QByteArray::fromRawData(exact.data(), qsizetype(exact.size())));
    }
    queryEverything(input);
    return 0;
}

#ifdef VASTEL_FUZZ_REPLAY
int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        std::FILE* f = std::fopen(argv[i], "rb");
        if (!f) continue;
        std::vector<uint8_t> bytes;
        for (int c; (c = std::fgetc(f)) != EOF;) bytes.push_back(uint8_t(c));
        std::fclose(f);
        LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
    }
    return 0;
}
#endif
