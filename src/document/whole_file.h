#pragma once

#include <QByteArray>
#include <QString>

namespace document {

// The file at path replaced whole by bytes, or left as it was (see hart/output_file.h):
// empty, or the reason it was not written.
QString WriteWholeFile(const QString& path, const QByteArray& bytes);

}  // namespace document
