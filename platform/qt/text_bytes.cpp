// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt/text_bytes.h"

#include <QByteArray>

namespace tavrin {

QString FromBytes(const std::string& bytes) {
  return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

std::string ToBytes(const QString& text) {
  const QByteArray latin1 = text.toLatin1();
  return std::string(latin1.constData(), static_cast<std::size_t>(latin1.size()));
}

}  // namespace tavrin
