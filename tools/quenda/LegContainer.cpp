#include "LegContainer.h"

#include <array>
#include <cstring>

namespace LegContainer {

namespace {

const std::array<std::uint32_t, 256> &crcTable()
{
    static const std::array<std::uint32_t, 256> table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t n = 0; n < 256; ++n) {
            std::uint32_t c = n;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    return table;
}

void putLe(QByteArray &into, std::uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        into.append(static_cast<char>((value >> (8 * i)) & 0xFF));
}

std::uint32_t getLe(const QByteArray &from, int at, int bytes)
{
    std::uint32_t value = 0;
    for (int i = 0; i < bytes; ++i)
        value |= static_cast<std::uint32_t>(static_cast<unsigned char>(from.at(at + i))) << (8 * i);
    return value;
}

} // namespace

std::uint32_t crc32(const QByteArray &bytes)
{
    const auto &table = crcTable();
    std::uint32_t c = 0xFFFFFFFFu;
    for (char byte : bytes)
        c = table[(c ^ static_cast<unsigned char>(byte)) & 0xFF] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}

QByteArray pack(const QByteArray &xml)
{
    QByteArray leg;
    leg.reserve(HeaderSize + xml.size());
    leg.append(Magic, sizeof Magic);
    putLe(leg, Version, 2);
    putLe(leg, 0, 2);
    putLe(leg, static_cast<std::uint32_t>(xml.size()), 4);
    putLe(leg, crc32(xml), 4);
    leg.append(xml);
    return leg;
}

std::optional<QByteArray> unpack(const QByteArray &leg, QString &error)
{
    if (leg.size() < HeaderSize || std::memcmp(leg.constData(), Magic, sizeof Magic) != 0) {
        error = QStringLiteral("not a .leg file of this converter (no QLEG header)");
        return std::nullopt;
    }
    const std::uint32_t version = getLe(leg, 4, 2);
    if (version != Version) {
        error = QStringLiteral("unsupported .leg format version %1").arg(version);
        return std::nullopt;
    }
    const std::uint32_t length = getLe(leg, 8, 4);
    if (static_cast<qint64>(length) != leg.size() - HeaderSize) {
        error = QStringLiteral("damaged .leg file: the header names %1 bytes of data, the file holds %2")
                    .arg(length)
                    .arg(leg.size() - HeaderSize);
        return std::nullopt;
    }
    QByteArray payload = leg.mid(HeaderSize);
    if (crc32(payload) != getLe(leg, 12, 4)) {
        error = QStringLiteral("damaged .leg file: checksum mismatch");
        return std::nullopt;
    }
    return payload;
}

} // namespace LegContainer
