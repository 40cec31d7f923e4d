#include "cli/listoutput.h"

#include "audio/audiomanager.h"
#include "audio/recordlength.h"
#include "store/nativepath.h"

#include <QStringEncoder>
#include <algorithm>
#include <map>
#include <vector>

namespace ListOutput {
namespace {

void AppendUtf8(std::string& out, QStringView text)
{
    // Most names are plain ASCII: copied as they are, without an encoder.
    const std::size_t ascii = out.size();
    out.resize(ascii + static_cast<std::size_t>(text.size()));
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i].unicode();
        if (unit >= 0x80) {
            out.resize(ascii);
            break;
        }
        out[ascii + static_cast<std::size_t>(i)] = static_cast<char>(unit);
    }
    if (out.size() > ascii || text.isEmpty())
        return;
    const std::size_t at = out.size();
    out.resize(at + static_cast<std::size_t>(text.size()) * 3);
    QStringEncoder encoder(QStringEncoder::Utf8);
    char* end = encoder.appendToBuffer(out.data() + at, text);
    out.resize(static_cast<std::size_t>(end - out.data()));
}

// "2027-01-04T07:00:00", as the moment's own zone tells it.
void AppendMoment(std::string& out, const QDateTime& moment)
{
    const QDate date = moment.date();
    const QTime time = moment.time();
    char text[] = "0000-00-00T00:00:00";
    const auto put = [&text](int at, int value, int digits) {
        for (int i = digits - 1; i >= 0; --i, value /= 10)
            text[at + i] = static_cast<char>('0' + value % 10);
    };
    put(0, date.year(), 4);
    put(5, date.month(), 2);
    put(8, date.day(), 2);
    put(11, time.hour(), 2);
    put(14, time.minute(), 2);
    put(17, time.second(), 2);
    out += text;
}

// A record carries at most one task, and each contact and each group's tags once.
QStringList Distinct(const QStringList& names)
{
    for (qsizetype i = 1; i < names.size(); ++i) {
        if (std::find(names.cbegin(), names.cbegin() + i, names[i]) != names.cbegin() + i) {
            QStringList distinct = names;
            distinct.removeDuplicates();
            return distinct;
        }
    }
    return names;
}

// The tags of `group`, each once, in the record's order, handed to `each` without a list of
// their own.
template <typename Each>
void EachTagOf(const SBrowsedRecord& record, const QString& group, Each each)
{
    const QList<SRecordTag>& tags = record.tags;
    for (qsizetype i = 0; i < tags.size(); ++i) {
        if (tags[i].group != group)
            continue;
        bool seen = false;
        for (qsizetype k = 0; k < i && !seen; ++k)
            seen = tags[k].group == group && tags[k].tag == tags[i].tag;
        if (!seen)
            each(tags[i].tag);
    }
}

void AppendJoined(std::string& out, const QStringList& names)
{
    for (qsizetype i = 0; i < names.size(); ++i) {
        if (i > 0)
            out += ", ";
        AppendUtf8(out, names[i]);
    }
}

// A JSON string as QJsonDocument writes it: quotes, backslashes and control characters
// escaped, everything else as UTF-8, a lone surrogate as \uXXXX.
void AppendJsonString(std::string& out, QStringView text)
{
    static constexpr char kHex[] = "0123456789abcdef";
    const auto escape = [&out](char16_t unit) {
        out += "\\u";
        for (int shift = 12; shift >= 0; shift -= 4)
            out += kHex[(unit >> shift) & 0xF];
    };
    // What stands for itself: everything below 0x80 but control characters, quotes and
    // backslashes.
    const auto plain = [](char16_t unit) {
        return unit >= 0x20 && unit < 0x80 && unit != u'"' && unit != u'\\';
    };
    out += '"';
    for (qsizetype i = 0; i < text.size(); ++i) {
        // A run of such characters is copied at once.
        qsizetype run = i;
        while (run < text.size() && plain(text[run].unicode()))
            ++run;
        if (run > i) {
            const std::size_t at = out.size();
            out.resize(at + static_cast<std::size_t>(run - i));
            for (qsizetype k = i; k < run; ++k)
                out[at + static_cast<std::size_t>(k - i)] = static_cast<char>(text[k].unicode());
            i = run - 1;
            continue;
        }
        const char16_t unit = text[i].unicode();
        if (unit >= 0x80) {
            const bool pair = QChar::isHighSurrogate(unit) && i + 1 < text.size() &&
                              QChar::isLowSurrogate(text[i + 1].unicode());
            if (QChar::isSurrogate(unit) && !pair) {
                escape(unit);
                continue;
            }
            AppendUtf8(out, text.mid(i, pair ? 2 : 1));
            i += pair ? 1 : 0;
            continue;
        }
        switch (unit) {
        case u'"':
            out += "\\\"";
            break;
        case u'\\':
            out += "\\\\";
            break;
        case u'\b':
            out += "\\b";
            break;
        case u'\f':
            out += "\\f";
            break;
        case u'\n':
            out += "\\n";
            break;
        case u'\r':
            out += "\\r";
            break;
        case u'\t':
            out += "\\t";
            break;
        default:
            if (unit < 0x20)
                escape(unit);
            else
                out += static_cast<char>(unit);
        }
    }
    out += '"';
}

// The bytes of a path as QFile::decodeName reads them, as a JSON string; a plain ASCII path
// is its own JSON text.
void AppendJsonPath(std::string& out, const std::string& native)
{
    const bool plain = std::all_of(native.begin(), native.end(), [](char c) {
        return c >= 0x20 && c < 0x7F && c != '"' && c != '\\';
    });
    if (!plain) {
        AppendJsonString(out, NativePath::Display(native));
        return;
    }
    out += '"';
    out += native;
    out += '"';
}

// An array of strings whose brackets stand at `indent` spaces, its items one level deeper.
void AppendJsonArray(std::string& out, const QStringList& items, std::size_t indent)
{
    out += "[\n";
    for (qsizetype i = 0; i < items.size(); ++i) {
        out.append(indent + 4, ' ');
        AppendJsonString(out, items[i]);
        out += i + 1 < items.size() ? ",\n" : "\n";
    }
    out.append(indent, ' ');
    out += ']';
}

} // namespace

void AppendText(std::string& out, const SBrowsedRecord& record)
{
    out += record.path;
    out += "\n  name: ";
    AppendUtf8(out, record.fileName);
    out += '\n';
    if (record.recorded.isValid()) {
        out += "  recorded: ";
        AppendMoment(out, record.recorded);
        out += '\n';
    }
    for (const QString& group : record.groups) {
        out += "  tags [";
        AppendUtf8(out, group);
        out += "]: ";
        bool first = true;
        EachTagOf(record, group, [&](const QString& tag) {
            out += first ? "" : ", ";
            first = false;
            AppendUtf8(out, tag);
        });
        out += '\n';
    }
    if (!record.task.isEmpty()) {
        out += "  task: ";
        AppendUtf8(out, record.task);
        out += '\n';
    }
    if (!record.contacts.isEmpty()) {
        out += "  contacts: ";
        AppendJoined(out, Distinct(record.contacts));
        out += '\n';
    }
}

void AppendJson(std::string& out, const SBrowsedRecord& record)
{
    constexpr std::size_t kMember = 8;
    out += "    {\n        \"contacts\": ";
    AppendJsonArray(out, Distinct(record.contacts), kMember);
    out += ",\n        \"name\": ";
    AppendJsonString(out, record.fileName);
    out += ",\n        \"path\": ";
    AppendJsonPath(out, record.path);
    out += ",\n        \"recorded\": ";
    if (record.recorded.isValid()) {
        out += '"';
        AppendMoment(out, record.recorded);
        out += '"';
    } else {
        out += "null";
    }
    out += ",\n        \"seconds\": ";
    out += record.samples
               ? std::to_string(RecordLength::Seconds(*record.samples, CAudioManager::kSampleRate))
               : std::string("null");
    // A JSON object's members come sorted by name, as QJsonObject keeps them.
    std::vector<const QString*> groups;
    groups.reserve(static_cast<std::size_t>(record.groups.size()));
    for (const QString& group : record.groups)
        groups.push_back(&group);
    std::sort(groups.begin(), groups.end(),
              [](const QString* a, const QString* b) { return *a < *b; });
    out += ",\n        \"tags\": {\n";
    for (std::size_t i = 0; i < groups.size(); ++i) {
        out.append(kMember + 4, ' ');
        AppendJsonString(out, *groups[i]);
        out += ": ";
        out += '[';
        bool first = true;
        EachTagOf(record, *groups[i], [&](const QString& tag) {
            out += first ? "\n" : ",\n";
            first = false;
            out.append(kMember + 8, ' ');
            AppendJsonString(out, tag);
        });
        out += '\n';
        out.append(kMember + 4, ' ');
        out += ']';
        out += i + 1 < groups.size() ? ",\n" : "\n";
    }
    out += "        },\n        \"task\": ";
    if (record.task.isEmpty())
        out += "null";
    else
        AppendJsonString(out, record.task);
    out += "\n    }";
}

} // namespace ListOutput
