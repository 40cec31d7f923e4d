#include "browser/recordmimedata.h"

#include <QFileInfo>
#include <QList>
#include <QUrl>

namespace RecordMimeData {

std::unique_ptr<QMimeData> ForFiles(const QStringList& paths)
{
    QList<QUrl> urls;
    QStringList absolute;
    QByteArray copied("copy");
    for (const QString& path : paths) {
        absolute << QFileInfo(path).absoluteFilePath();
        urls << QUrl::fromLocalFile(absolute.back());
        copied += '\n' + urls.back().toEncoded();
    }
    auto data = std::make_unique<QMimeData>();
    data->setUrls(urls);
    data->setData(QStringLiteral("x-special/gnome-copied-files"), copied);
    data->setText(absolute.join(u'\n'));
    return data;
}

} // namespace RecordMimeData
