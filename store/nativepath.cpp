#include "store/nativepath.h"

#include <QByteArray>
#include <QFile>

namespace NativePath {

QString Display(const std::filesystem::path& path)
{
    return QFile::decodeName(QByteArray::fromStdString(path.native()));
}

QString DisplayName(const std::filesystem::path& path)
{
    return Display(path.filename());
}

std::filesystem::path FromText(const QString& text)
{
    return QFile::encodeName(text).toStdString();
}

} // namespace NativePath
