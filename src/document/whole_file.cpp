#include "document/whole_file.h"

#include <QFile>

#include "hart/output_file.h"

namespace document {

QString WriteWholeFile(const QString& path, const QByteArray& bytes)
{
    const std::string error = hart::WriteWholeFile(QFile::encodeName(path).toStdString(),
                                                   {bytes.constData(), std::size_t(bytes.size())});
    return QString::fromLocal8Bit(error.c_str());
}

}  // namespace document
