#pragma once

#include "store/recordinfo.h"

#include <QList>
#include <QString>
#include <string_view>
#include <utility>

class CCliStore;
class CCommandLine;

// The main screen's slots as the options of a placed recording describe them: one slot
// of a tag group's kind per group named by --tag (in the order the groups first appear),
// listing the group's tags from the catalogue with the named ones selected; a "Task"
// slot listing the tasks with --task selected; a "Contacts" slot listing the contacts
// with every --contact selected. The block composed from them is the one the main
// screen would compose from the same selections.
namespace RecordSlots {

// "GROUP=TAG" split at its first "=", both parts trimmed. Throws CUsageError when there
// is no "=" or a part is empty.
std::pair<QString, QString> SplitTagOption(std::string_view text);

// Throws CCommandFailure when a group, tag, task or contact is not in the catalogue or
// the contacts-and-tasks folder: a slot can only select what it lists.
QList<RecordInfo::SSlotSelection> FromOptions(const CCommandLine& line, const CCliStore& store);

} // namespace RecordSlots
