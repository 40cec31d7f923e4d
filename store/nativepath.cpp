#include "store/nativepath.h"

#include <QByteArray>
#include <QFile>

namespace NativePath {

QString Display(const std::filesystem::path& path)
{
    // What QFile::decodeName gives, without copying the bytes first.
    return QString::fromLocal8Bit(QByteArrayView(path.native()));
}

QString DisplayName(const std::filesystem::path& path)
{
    const std::string& native = path.native();
    const std::size_t slash = native.rfind('/');
    return QString::fromLocal8Bit(
        QByteArrayView(native).sliced(slash == std::string::npos ? 0 : slash + 1));
}

std::filesystem::path FromText(const QString& text)
{
    return QFile::encodeName(text).toStdString();
}

} // namespace NativePath
