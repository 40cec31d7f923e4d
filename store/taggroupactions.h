#pragma once

#include "store/tagcatalogue.h"

#include <QString>
#include <QStringList>

// The tag manager's checked edits of the catalogue, shared by its window and the command
// line: each checks the new name as the manager's name dialogs do, then changes the file.
// New names are trimmed of surrounding spaces, as typed names are. Each returns Ok, or the
// refusal (whose message is CTagCatalogue::Message with the kind of name) with the file
// unchanged, or WriteFailed.
namespace TagGroupActions {

// The new name of a group: the old name again or a taken name gives AlreadyExists, an empty
// one EmptyName, an unsafe one its NameRules refusal.
ECatalogueResult CheckGroupRename(const CTagCatalogue& catalogue, const QString& oldName,
                                  const QString& newName);
// CheckGroupRename, then the rename. The slot kinds (the settings Slot1 to Slot4) that showed
// the old group show the new name afterwards; the caller stores them when the change is kept.
ECatalogueResult RenameGroup(const CTagCatalogue& catalogue, const QString& oldName,
                             const QString& newName, QStringList& slotKinds);

// The new text of a tag of `group`: the old text again or a taken one gives AlreadyExists,
// an empty one EmptyName, brackets InvalidName, another unsafe one its NameRules refusal.
ECatalogueResult CheckTagRename(const CTagCatalogue& catalogue, const QString& group,
                                const QString& oldTag, const QString& newTag);
ECatalogueResult RenameTag(const CTagCatalogue& catalogue, const QString& group,
                           const QString& oldTag, const QString& newTag);

// The name of a copy: EmptyName, a NameRules refusal, or AlreadyExists when a group has it.
ECatalogueResult CheckCopyName(const CTagCatalogue& catalogue, const QString& name);
// CheckCopyName, then the copy of `source` with its tags in order, written in one rewrite.
ECatalogueResult CopyGroup(const CTagCatalogue& catalogue, const QString& source,
                           const QString& name);

} // namespace TagGroupActions
