#pragma once

#include <QByteArrayView>

#include <cstdint>

namespace zuvo::formats::detail {

// The FIT protocol's CRC-16 (initial value 0), over `bytes` continuing from
// `crc`.
std::uint16_t fitCrc(QByteArrayView bytes, std::uint16_t crc = 0);

} // namespace zuvo::formats::detail
