#include "formats/detail/FitEncoding.h"

#include "formats/detail/FitCrc.h"

namespace zuvo::formats::detail {

void defineFitMessage(LittleEndian& out, std::uint8_t local, std::uint16_t global,
                      std::initializer_list<FitField> fields)
{
    out << std::uint8_t(local | 0x40) << std::uint8_t(0) << std::uint8_t(0) << global
        << std::uint8_t(fields.size());
    for (const auto& field : fields)
        out << field.number << field.size << std::uint8_t(field.type);
}

QByteArray fitFile(const QByteArray& records, std::uint8_t protocolVersion,
                   std::uint16_t profileVersion)
{
    LittleEndian file;
    file << std::uint8_t(14) << protocolVersion << profileVersion << std::uint32_t(records.size());
    file.bytes().append(".FIT");
    file << fitCrc(file.bytes());
    file.bytes().append(records);
    file << fitCrc(file.bytes());
    return file.bytes();
}

} // namespace zuvo::formats::detail
