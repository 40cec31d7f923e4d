#include "store/locationlist.h"

#include "store/cataloguelock.h"
#include "store/linefile.h"
#include "store/namerules.h"

#include <QCoreApplication>
#include <array>

namespace {

constexpr int kFixedField = 500;
constexpr double kFixedReal = 0.0;

} // namespace

CLocationList::CLocationList(const QString& folder)
{
    const QString base = folder.isEmpty() || folder.endsWith(u'/') ? folder : folder + u'/';
    m_path = base + QLatin1String(kFileName);
}

QStringList CLocationList::FillLocations() const
{
    QStringList names;
    const std::optional<QStringList> lines = LineFile::Read(m_path);
    if (!lines)
        return names;
    for (const QString& line : *lines) {
        const qsizetype tilde = line.indexOf(u'~');
        names.append(tilde < 0 ? line : line.left(tilde));
    }
    return names;
}

QString CLocationList::LocationLine(const QString& name)
{
    QString clean = name;
    clean.replace(u'\r', u' ').replace(u'\n', u' ');
    const std::array<int, 6> position{}; // fields nobody reads; no position source exists
    QString line = clean.trimmed();
    for (const int value : position)
        line += u'~' + QString::number(value);
    line += u'~' + QString::number(kFixedField);
    line += u'~' + QString::asprintf("%f", kFixedReal);
    return line;
}

QString CLocationList::Refusal(const QString& name)
{
    return NameRules::Refusal(NameRules::EKind::Location, name);
}

bool CLocationList::AddLocation(const QString& name) const
{
    if (!Refusal(name).isEmpty())
        return false;
    const CCatalogueLock lock(m_path);
    m_busy = lock.Busy();
    return lock.Held() && LineFile::Append(m_path, LocationLine(name));
}

QString CLocationList::WriteFailureMessage() const
{
    return CCatalogueLock::FailureMessage(
        QCoreApplication::translate("CLocationList", kMsgWriteFailed), m_busy);
}
