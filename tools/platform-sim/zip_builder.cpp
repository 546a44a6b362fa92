#include "zip_builder.h"

#include <array>
#include <cstdint>

namespace platformsim {

namespace {

uint32_t Crc32(const std::string& bytes) {
    static const std::array<uint32_t, 256> table = [] {
        std::array<uint32_t, 256> t{};
        for (uint32_t i = 0; i < 256; ++i) {
            uint32_t c = i;
            for (int k = 0; k < 8; ++k) {
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            }
            t[i] = c;
        }
        return t;
    }();
    uint32_t crc = 0xFFFFFFFFu;
    for (unsigned char b : bytes) {
        crc = table[(crc ^ b) & 0xFF] ^ (crc >> 8);
    }
    return crc ^ 0xFFFFFFFFu;
}

void Put16(std::string& out, uint32_t value) {
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>((value >> 8) & 0xFF);
}

void Put32(std::string& out, uint32_t value) {
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

}  // namespace

std::string BuildStoredZip(const std::vector<std::pair<std::string, std::string>>& entries) {
    std::vector<ZipEntry> full;
    for (const auto& [name, content] : entries) {
        full.push_back({name, content});
    }
    return BuildStoredZip(full);
}

std::string BuildStoredZip(const std::vector<ZipEntry>& entries) {
    std::string archive;
    std::string directory;
    // 2026-01-01 12:00:00 in DOS form, so the archive is the same on every run.
    const uint32_t dosTime = (12u << 11);
    const uint32_t dosDate = ((2026u - 1980u) << 9) | (1u << 5) | 1u;
    for (const auto& [name, content, mode, utf8Name] : entries) {
        const uint32_t offset = static_cast<uint32_t>(archive.size());
        const uint32_t crc = Crc32(content);
        const uint32_t size = static_cast<uint32_t>(content.size());
        const uint32_t flags = utf8Name ? 0x0800 : 0;

        Put32(archive, 0x04034b50);
        Put16(archive, 20);
        Put16(archive, flags);
        Put16(archive, 0);  // stored
        Put16(archive, dosTime);
        Put16(archive, dosDate);
        Put32(archive, crc);
        Put32(archive, size);
        Put32(archive, size);
        Put16(archive, static_cast<uint32_t>(name.size()));
        Put16(archive, 0);
        archive += name;
        archive += content;

        Put32(directory, 0x02014b50);
        Put16(directory, mode ? (3u << 8) | 20 : 20);  // made on Unix, or on DOS/Windows
        Put16(directory, 20);
        Put16(directory, flags);
        Put16(directory, 0);
        Put16(directory, dosTime);
        Put16(directory, dosDate);
        Put32(directory, crc);
        Put32(directory, size);
        Put32(directory, size);
        Put16(directory, static_cast<uint32_t>(name.size()));
        Put16(directory, 0);
        Put16(directory, 0);
        Put16(directory, 0);
        Put16(directory, 0);
        Put32(directory, mode << 16);  // 0100755 by default, so an unpacked program can start
        Put32(directory, offset);
        directory += name;
    }
    const uint32_t directoryOffset = static_cast<uint32_t>(archive.size());
    archive += directory;
    Put32(archive, 0x06054b50);
    Put16(archive, 0);
    Put16(archive, 0);
    Put16(archive, static_cast<uint32_t>(entries.size()));
    Put16(archive, static_cast<uint32_t>(entries.size()));
    Put32(archive, static_cast<uint32_t>(directory.size()));
    Put32(archive, directoryOffset);
    Put16(archive, 0);
    return archive;
}

}  // namespace platformsim
