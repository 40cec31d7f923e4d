#include "store/taggroupactions.h"

#include "store/slotkind.h"

namespace TagGroupActions {

ECatalogueResult CheckGroupRename(const CTagCatalogue& catalogue, const QString& oldName,
                                  const QString& newName)
{
    const QString name = newName.trimmed();
    if (name == oldName)
        return ECatalogueResult::AlreadyExists;
    if (name.isEmpty())
        return ECatalogueResult::EmptyName;
    if (const ECatalogueResult refusal = CTagCatalogue::CheckName(name, true);
        refusal != ECatalogueResult::Ok)
        return refusal;
    return catalogue.GroupExists(name) ? ECatalogueResult::AlreadyExists : ECatalogueResult::Ok;
}

ECatalogueResult RenameGroup(const CTagCatalogue& catalogue, const QString& oldName,
                             const QString& newName, QStringList& slotKinds)
{
    if (const ECatalogueResult check = CheckGroupRename(catalogue, oldName, newName);
        check != ECatalogueResult::Ok)
        return check;
    const QString name = newName.trimmed();
    if (!catalogue.RenameGroup(oldName, name))
        return catalogue.WriteFailure();
    for (QString& kind : slotKinds) {
        if (kind != CSlotKind::kNone && kind == oldName)
            kind = name;
    }
    return ECatalogueResult::Ok;
}

ECatalogueResult CheckTagRename(const CTagCatalogue& catalogue, const QString& group,
                                const QString& oldTag, const QString& newTag)
{
    const QString tag = newTag.trimmed();
    if (tag == oldTag)
        return ECatalogueResult::AlreadyExists;
    if (tag.isEmpty())
        return ECatalogueResult::EmptyName;
    if (const ECatalogueResult refusal = CTagCatalogue::CheckName(tag, false);
        refusal != ECatalogueResult::Ok)
        return refusal;
    return catalogue.TagExists(group, tag) ? ECatalogueResult::AlreadyExists : ECatalogueResult::Ok;
}

ECatalogueResult RenameTag(const CTagCatalogue& catalogue, const QString& group,
                           const QString& oldTag, const QString& newTag)
{
    if (const ECatalogueResult check = CheckTagRename(catalogue, group, oldTag, newTag);
        check != ECatalogueResult::Ok)
        return check;
    return catalogue.RenameTag(group, oldTag, newTag.trimmed()) ? ECatalogueResult::Ok
                                                                : catalogue.WriteFailure();
}

ECatalogueResult CheckCopyName(const CTagCatalogue& catalogue, const QString& name)
{
    const QString trimmed = name.trimmed();
    if (trimmed.isEmpty())
        return ECatalogueResult::EmptyName;
    if (const ECatalogueResult refusal = CTagCatalogue::CheckName(trimmed, true);
        refusal != ECatalogueResult::Ok)
        return refusal;
    return catalogue.GroupExists(trimmed) ? ECatalogueResult::AlreadyExists : ECatalogueResult::Ok;
}

ECatalogueResult CopyGroup(const CTagCatalogue& catalogue, const QString& source,
                           const QString& name)
{
    if (const ECatalogueResult check = CheckCopyName(catalogue, name);
        check != ECatalogueResult::Ok)
        return check;
    return catalogue.CopyGroup(source, name);
}

} // namespace TagGroupActions
