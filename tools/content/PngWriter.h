#pragma once

// RGBA images written as PNG files, the format desktop icon themes read.
// The pixels are stored uncompressed (deflate's "stored" blocks): an icon
// is small, and no compression library is needed.

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

namespace content {

class Png {
public:
    // `rgba`: width × height pixels, top row first, four bytes each.
    static bool Write(const std::string& path, int width, int height,
                      const std::vector<uint8_t>& rgba) {
        std::vector<uint8_t> header;
        Put32(header, static_cast<uint32_t>(width));
        Put32(header, static_cast<uint32_t>(height));
        header.insert(header.end(), {8, 6, 0, 0, 0});  // 8 bits, RGBA, deflate, no interlace

        // Each row starts with its filter byte, 0: none.
        const size_t rowBytes = static_cast<size_t>(width) * 4;
        std::vector<uint8_t> raw;
        for (int y = 0; y < height; ++y) {
            raw.push_back(0);
            raw.insert(raw.end(), rgba.begin() + y * rowBytes, rgba.begin() + (y + 1) * rowBytes);
        }

        std::ofstream out(path, std::ios::binary);
        const uint8_t signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
        out.write(reinterpret_cast<const char*>(signature), sizeof signature);
        Chunk(out, "IHDR", header);
        Chunk(out, "IDAT", Stored(raw));
        Chunk(out, "IEND", {});
        return static_cast<bool>(out);
    }

private:
    static void Put32(std::vector<uint8_t>& to, uint32_t v) {
        to.insert(to.end(), {static_cast<uint8_t>(v >> 24), static_cast<uint8_t>(v >> 16),
                             static_cast<uint8_t>(v >> 8), static_cast<uint8_t>(v)});
    }

    // A zlib stream of stored blocks of at most 65535 bytes each.
    static std::vector<uint8_t> Stored(const std::vector<uint8_t>& data) {
        std::vector<uint8_t> z = {0x78, 0x01};
        size_t at = 0;
        do {
            const size_t length = std::min<size_t>(data.size() - at, 65535);
            const bool last = at + length == data.size();
            z.push_back(last ? 1 : 0);
            z.insert(z.end(), {static_cast<uint8_t>(length), static_cast<uint8_t>(length >> 8),
                               static_cast<uint8_t>(~length), static_cast<uint8_t>(~length >> 8)});
            z.insert(z.end(), data.begin() + at, data.begin() + at + length);
            at += length;
        } while (at < data.size());
        uint32_t a = 1, b = 0;  // Adler-32 of the uncompressed data
        for (const uint8_t byte : data) {
            a = (a + byte) % 65521;
            b = (b + a) % 65521;
        }
        Put32(z, b << 16 | a);
        return z;
    }

    static uint32_t Crc(const std::string& type, const std::vector<uint8_t>& data) {
        uint32_t crc = 0xFFFFFFFF;
        auto add = [&crc](uint8_t byte) {
            crc ^= byte;
            for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320 & (0 - (crc & 1)));
        };
        for (const char c : type) add(static_cast<uint8_t>(c));
        for (const uint8_t byte : data) add(byte);
        return ~crc;
    }

    static void Chunk(std::ofstream& out, const std::string& type, const std::vector<uint8_t>& data) {
        std::vector<uint8_t> bytes;
        Put32(bytes, static_cast<uint32_t>(data.size()));
        bytes.insert(bytes.end(), type.begin(), type.end());
        bytes.insert(bytes.end(), data.begin(), data.end());
        Put32(bytes, Crc(type, data));
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
};

}  // namespace content
