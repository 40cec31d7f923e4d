#pragma once

#include "cli/command.h"

#include <QString>
#include <QStringList>

class CTagCatalogue;

// tags: the tag manager without a window. Each subcommand applies its change to the
// catalogue at once (as the tag manager does before OK) and refuses with the tag
// manager's own messages. Names given on the command line are trimmed of surrounding
// spaces, as names typed into its dialogs are.
class CTagCommands
{
public:
    static SCommand Entry();
    static int Run(CCliContext& context, const CCommandLine& line);

private:
    static int List(CCliContext& context, const CTagCatalogue& tags);
    static int AddGroup(const CTagCatalogue& tags, const QString& group);
    static int AddTag(const CTagCatalogue& tags, const QString& group, const QString& tag,
                      bool first);
    static int RenameGroup(CCliContext& context, const QString& oldName, const QString& newName);
    static int RenameTag(const CTagCatalogue& tags, const QString& group, const QString& oldTag,
                         const QString& newTag);
    static int DeleteGroup(const CTagCatalogue& tags, const QString& group);
    static int DeleteTag(const CTagCatalogue& tags, const QString& group, const QString& tag);
    static int MoveDown(const CTagCatalogue& tags, const QString& group, const QString& tag);
    static int CopyGroup(CCliContext& context, const CTagCatalogue& tags, const QString& group);
};
