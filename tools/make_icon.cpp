// Writes the program's icon file from the emblem the windows draw: 16, 24,
// 32 and 48 pixel images as 32-bit bitmaps with their transparency mask, and
// the 256 pixel image as PNG, as Windows Vista and later read it.
//
// usage: make_icon OUTPUT.ico
// A host tool of the build: the Windows builds cannot run their own
// executables while they build.
#include <zlib.h>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "app/emblem.h"

namespace {

using Bytes = std::vector<unsigned char>;

void put16(Bytes& out, unsigned v) {
    out.push_back(v & 0xFF);
    out.push_back((v >> 8) & 0xFF);
}

void put32(Bytes& out, std::uint32_t v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

void put32be(Bytes& out, std::uint32_t v) {
    for (int shift : {24, 16, 8, 0}) out.push_back((v >> shift) & 0xFF);
}

void pngChunk(Bytes& out, const char* type, const Bytes& data) {
    put32be(out, static_cast<std::uint32_t>(data.size()));
    Bytes body(type, type + 4);
    body.insert(body.end(), data.begin(), data.end());
    out.insert(out.end(), body.begin(), body.end());
    put32be(out, crc32(0, body.data(), static_cast<uInt>(body.size())));
}

// 8-bit RGBA, no interlace, every row unfiltered.
bool png(const std::vector<std::uint32_t>& pixels, int size, Bytes& out) {
    Bytes raw;
    for (int y = 0; y < size; ++y) {
        raw.push_back(0);
        for (int x = 0; x < size; ++x) {
            const std::uint32_t p = pixels[static_cast<std::size_t>(y) * size + x];
            for (int shift : {16, 8, 0, 24}) raw.push_back((p >> shift) & 0xFF);
        }
    }
    uLongf packedSize = compressBound(static_cast<uLong>(raw.size()));
    Bytes packed(packedSize);
    if (compress2(packed.data(), &packedSize, raw.data(), static_cast<uLong>(raw.size()), 9) !=
        Z_OK)
        return false;
    packed.resize(packedSize);

    const unsigned char signature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    out.assign(signature, signature + sizeof signature);
    Bytes header;
    put32be(header, size);
    put32be(header, size);
    header.insert(header.end(), {8, 6, 0, 0, 0});
    pngChunk(out, "IHDR", header);
    pngChunk(out, "IDAT", packed);
    pngChunk(out, "IEND", {});
    return true;
}

// A BITMAPINFOHEADER of twice the height, the colour rows bottom-up, then
// the AND mask (set where the picture is mostly transparent) for systems
// that draw icons without alpha.
Bytes bitmap(const std::vector<std::uint32_t>& pixels, int size) {
    const int maskStride = ((size + 31) / 32) * 4;
    Bytes out;
    put32(out, 40);
    put32(out, size);
    put32(out, size * 2);
    put16(out, 1);
    put16(out, 32);
    put32(out, 0);
    put32(out, size * size * 4 + maskStride * size);
    for (int i = 0; i < 4; ++i) put32(out, 0);
    for (int y = size - 1; y >= 0; --y) {
        for (int x = 0; x < size; ++x) put32(out, pixels[static_cast<std::size_t>(y) * size + x]);
    }
    for (int y = size - 1; y >= 0; --y) {
        Bytes row(maskStride, 0);
        for (int x = 0; x < size; ++x) {
            if ((pixels[static_cast<std::size_t>(y) * size + x] >> 24) < 128)
                row[x / 8] |= 0x80 >> (x % 8);
        }
        out.insert(out.end(), row.begin(), row.end());
    }
    return out;
}

bool writeFile(const std::string& path, const Bytes& data) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(data.data()),
               static_cast<std::streamsize>(data.size()));
    file.close();
    if (file) return true;
    std::cerr << "make_icon: cannot write " << path << "\n";
    std::remove(path.c_str());
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: make_icon OUTPUT.ico\n";
        return 2;
    }
    const int sizes[] = {16, 24, 32, 48, 256};
    std::vector<Bytes> images;
    for (int size : sizes) {
        const std::vector<std::uint32_t> pixels = cindral::app::RenderEmblem(size);
        Bytes image;
        if (size < 256) {
            image = bitmap(pixels, size);
        } else if (!png(pixels, size, image)) {
            std::cerr << "make_icon: compressing the " << size << " pixel image failed\n";
            return 1;
        }
        images.push_back(std::move(image));
    }

    Bytes ico;
    put16(ico, 0);
    put16(ico, 1);  // an icon, not a cursor
    put16(ico, static_cast<unsigned>(images.size()));
    std::uint32_t offset = 6 + 16 * static_cast<std::uint32_t>(images.size());
    for (std::size_t i = 0; i < images.size(); ++i) {
        const int size = sizes[i];
        ico.push_back(size >= 256 ? 0 : size);  // 0 stands for 256
        ico.push_back(size >= 256 ? 0 : size);
        ico.push_back(0);  // no palette
        ico.push_back(0);
        put16(ico, 1);
        put16(ico, 32);
        put32(ico, static_cast<std::uint32_t>(images[i].size()));
        put32(ico, offset);
        offset += static_cast<std::uint32_t>(images[i].size());
    }
    for (const Bytes& image : images) ico.insert(ico.end(), image.begin(), image.end());
    return writeFile(argv[1], ico) ? 0 : 1;
}
