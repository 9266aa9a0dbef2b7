#include "formats/detail/FitCrc.h"

#include <array>

namespace zuvo::formats::detail {

namespace {

// The protocol publishes the CRC as a 16-entry table applied to the low and
// then the high nibble of each byte.
constexpr std::array<std::uint16_t, 16> nibbleTable{0x0000, 0xCC01, 0xD801, 0x1400, 0xF001, 0x3C00,
                                                    0x2800, 0xE401, 0xA001, 0x6C00, 0x7800, 0xB401,
                                                    0x5000, 0x9C01, 0x8801, 0x4400};

constexpr std::uint16_t nibbleStep(std::uint16_t crc, unsigned nibble)
{
    const std::uint16_t t = nibbleTable[crc & 0xF];
    crc = (crc >> 4) & 0x0FFF;
    return crc ^ t ^ nibbleTable[nibble & 0xF];
}

constexpr std::uint16_t byteStep(std::uint16_t crc, std::uint8_t byte)
{
    return nibbleStep(nibbleStep(crc, byte), byte >> 4);
}

// The same CRC a byte at a time: the two nibble steps are linear, so the
// effect of the low byte of the CRC combined with the input byte can be
// tabulated once (the high byte just shifts down).
constexpr std::array<std::uint16_t, 256> byteTable = [] {
    std::array<std::uint16_t, 256> table{};
    for (unsigned i = 0; i < 256; ++i)
        table[i] = byteStep(0, std::uint8_t(i));
    return table;
}();

static_assert(byteStep(0x1234, 0x56) == ((0x1234 >> 8) ^ byteTable[(0x1234 ^ 0x56) & 0xFF]));

} // namespace

std::uint16_t fitCrc(QByteArrayView bytes, std::uint16_t crc)
{
    for (const char c : bytes)
        crc = std::uint16_t((crc >> 8) ^ byteTable[(crc ^ std::uint8_t(c)) & 0xFF]);
    return crc;
}

} // namespace zuvo::formats::detail
