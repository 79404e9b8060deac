#include "SimMemory.h"

#include <cstdio>
#include <fstream>
#include <iterator>

namespace sim {

SimMemory::SimMemory() {
    for (int b = 0; b < kBanks; ++b)
        for (int p = 0; p < kPrograms; ++p)
            slots_[b * kPrograms + p] = MakeDump(b, p);
}

std::string SimMemory::MakeDump(int bank, int program) {
    std::string d(kDumpLength, '\0');
    const unsigned char header[8] = {0xF0, 0x00, 0x20, 0x32, 0x20, 0x00, 0x02, 0x07};
    for (int i = 0; i < 8; ++i)
        d[i] = static_cast<char>(header[i]);
    d[8] = static_cast<char>(bank);
    d[9] = static_cast<char>(program);
    // Parameter bytes that differ from slot to slot, all 7-bit.
    for (std::size_t i = 10; i < 265; ++i)
        d[i] = static_cast<char>((i * 5 + bank * 31 + program * 3) & 0x7F);
    char name[18];
    std::snprintf(name, sizeof name, "SIM %c-%03d", 'A' + bank, program + 1);
    for (std::size_t i = 0; i < 17 && name[i]; ++i)
        d[265 + i] = name[i];
    d[kDumpLength - 1] = static_cast<char>(0xF7);
    return d;
}

bool SimMemory::IsDump(const std::string& bytes) {
    return bytes.size() == kDumpLength && static_cast<unsigned char>(bytes.front()) == 0xF0 &&
           static_cast<unsigned char>(bytes.back()) == 0xF7 &&
           static_cast<unsigned char>(bytes[8]) < kBanks &&
           static_cast<unsigned char>(bytes[9]) < kPrograms;
}

std::optional<std::pair<int, int>> SimMemory::ParseRequest(const std::string& bytes) {
    static const unsigned char head[7] = {0xF0, 0x00, 0x20, 0x32, 0x20, 0x00, 0x01};
    if (bytes.size() != 10 || static_cast<unsigned char>(bytes[9]) != 0xF7)
        return std::nullopt;
    for (int i = 0; i < 7; ++i)
        if (static_cast<unsigned char>(bytes[i]) != head[i])
            return std::nullopt;
    return std::make_pair(static_cast<unsigned char>(bytes[7]),
                          static_cast<unsigned char>(bytes[8]));
}

bool SimMemory::store(const std::string& dump) {
    if (!IsDump(dump))
        return false;
    slots_[static_cast<unsigned char>(dump[8]) * kPrograms + static_cast<unsigned char>(dump[9])] =
        dump;
    return true;
}

bool SimMemory::load(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    const std::string data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::size_t start = 0;
    for (std::size_t i = 0; i < data.size(); ++i) {
        if (static_cast<unsigned char>(data[i]) != 0xF7)
            continue;
        store(data.substr(start, i + 1 - start));
        start = i + 1;
    }
    return true;
}

bool SimMemory::save(const std::string& path) const {
    const std::string temp = path + ".part";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        for (const auto& slot : slots_)
            out.write(slot.data(), static_cast<std::streamsize>(slot.size()));
        if (!out)
            return false;
    }
    return std::rename(temp.c_str(), path.c_str()) == 0;
}

}  // namespace sim
