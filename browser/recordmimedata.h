#pragma once

#include <QMimeData>
#include <QStringList>
#include <memory>

// What a drag of records out of a record list, or a copy of them, hands to other programs:
// the files themselves.
namespace RecordMimeData {

// "text/uri-list" with the files' URLs (file managers, mail and chat windows take the files);
// "x-special/gnome-copied-files" ("copy", then one URL a line), which file managers read
// when pasting; and the paths as plain text, one a line, for a text field. Relative paths
// are made absolute. The caller hands the object to QDrag or the clipboard, which own it.
std::unique_ptr<QMimeData> ForFiles(const QStringList& paths);

} // namespace RecordMimeData
