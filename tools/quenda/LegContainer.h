#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <optional>

// The .leg container of this converter: a 16-byte header and the phone-book XML bytes.
// See README.md beside this file.
namespace LegContainer {

constexpr char Magic[4] = {'Q', 'L', 'E', 'G'};
constexpr std::uint16_t Version = 1;
constexpr int HeaderSize = 16;

std::uint32_t crc32(const QByteArray &bytes);

QByteArray pack(const QByteArray &xml);

// The payload, or nothing with the reason in error.
std::optional<QByteArray> unpack(const QByteArray &leg, QString &error);

} // namespace LegContainer
