// Conversions between the system's 8-bit names and the texts the browser's widgets show.
#pragma once

#include <QByteArray>
#include <QString>
#include <QVariant>
#include <string>

// The role under which list and tree items keep the name's original bytes.
inline constexpr int kNameRole = Qt::UserRole + 1;

inline QString DisplayText(const std::string& name) { return QString::fromLocal8Bit(name); }
inline QByteArray NameBytes(const std::string& name) {
  return QByteArray(name.data(), static_cast<qsizetype>(name.size()));
}
inline std::string NameOf(const QVariant& bytes) { return bytes.toByteArray().toStdString(); }
